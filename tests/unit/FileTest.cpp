// readTextFile: whole files as text, CR LF read as LF, and the message for a missing file.
#include "TrackFileFixture.h"

#include <File.h>
#include <tarn/Exception.h>

#include <unistd.h> // Required for: chdir(), getcwd()

namespace
{
	class FileTest : public TrackFileFixture
	{
	protected:
		Tarn::String read(const std::string& bytes)
		{
			const std::string path = base + "text";
			std::ofstream(path, std::ios::binary) << bytes;
			return readTextFile(path.c_str());
		}
	};
}

TEST_F(FileTest, AnEmptyFileIsAnEmptyButRealString)
{
	const Tarn::String text = read("");
	EXPECT_NE(text.getText(), nullptr);
	EXPECT_EQ(text.getLength(), 0);
}

TEST_F(FileTest, LineEndsAreReadAsLineFeeds)
{
	EXPECT_STREQ(read("void main()\r\n{\r\n}\r\n").getText(), "void main()\n{\n}\n");
	// Only a CR directly before LF is dropped.
	EXPECT_STREQ(read("a\rb\r\r\nc\r").getText(), "a\rb\r\nc\r");
	EXPECT_STREQ(read("unix\nends\n").getText(), "unix\nends\n");
}

TEST_F(FileTest, TextEndsAtTheFirstZeroByte)
{
	EXPECT_STREQ(read(std::string("ab\0cd", 5)).getText(), "ab");
}

TEST_F(FileTest, AFileThatCannotBeOpenedIsNamedInTheMessage)
{
	// Look from a directory where no Data/ exists, whatever the build has copied.
	char previous[4096];
	ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
	ASSERT_EQ(chdir(directory.c_str()), 0);
	try
	{
		readTextFile("Data/Blit.vert");
		ADD_FAILURE() << "no exception";
	}
	catch (const Tarn::Exception& exception)
	{
		EXPECT_STREQ(exception.getMessage().getText(), "Could not open input file: \"Data/Blit.vert\"");
		EXPECT_STREQ(exception.getFile().getText(), "src\\File");
		EXPECT_EQ(exception.getLine(), 11);
	}
	EXPECT_EQ(chdir(previous), 0);

	// A directory is no file to read either, though the system lets it be opened.
	EXPECT_THROW(readTextFile(directory.c_str()), Tarn::Exception);
}
