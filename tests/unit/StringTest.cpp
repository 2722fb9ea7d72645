// Tarn::String: shared records, the checked index operator and concatenation.
#include <tarn/Exception.h>
#include <tarn/String.h>

#include <gtest/gtest.h>

#include <cstdlib> // Required for: malloc(), free()
#include <new>

// Counts releases of heap blocks while a test asks for it, so a record freed twice (or never)
// shows in the count rather than only as heap corruption.
namespace
{
	bool countingReleases = false;
	int releases = 0;
}

namespace
{
	void* allocate(std::size_t size)
	{
		if (void* block = std::malloc(size ? size : 1))
			return block;
		throw std::bad_alloc();
	}

	void release(void* block)
	{
		if (block && countingReleases)
			releases++;
		std::free(block);
	}
}

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }

namespace
{
	// Runs action and returns the exception it must throw.
	template <typename Action>
	Tarn::Exception thrownBy(Action action)
	{
		try
		{
			action();
		}
		catch (const Tarn::Exception& exception)
		{
			return exception;
		}
		ADD_FAILURE() << "no Tarn::Exception was thrown";
		return Tarn::Exception("", "", 0);
	}

	void expectException(const Tarn::Exception& exception, const char* message, const char* file, int line)
	{
		EXPECT_STREQ(exception.getMessage().getText(), message);
		EXPECT_STREQ(exception.getFile().getText(), file);
		EXPECT_EQ(exception.getLine(), line);
	}
}

TEST(String, NullAndEmptyAreDifferent)
{
	const Tarn::String null;
	EXPECT_EQ(null.getText(), nullptr);
	EXPECT_EQ(null.getLength(), 0);

	const Tarn::String empty("");
	ASSERT_NE(empty.getText(), nullptr);
	EXPECT_EQ(empty.getLength(), 0);
	EXPECT_EQ(empty[0], '\0');
}

TEST(String, IndexAcceptsTheTerminatorAndNothingBeyond)
{
	const Tarn::String abc("abc");
	EXPECT_EQ(abc[0], 'a');
	EXPECT_EQ(abc[2], 'c');
	EXPECT_EQ(abc[3], '\0');

	const char* const file = "tarn\\include\\tarn\\String";
	expectException(thrownBy([&] { abc[4]; }), "Index out of bounds", file, 111);
	expectException(thrownBy([&] { abc[-1]; }), "Index out of bounds", file, 111);
	expectException(thrownBy([] { Tarn::String("")[1]; }), "Index out of bounds", file, 111);

	// The null test comes before the range test, at every index.
	const Tarn::String null;
	for (int index : { 0, -1, 5 })
		expectException(thrownBy([&] { null[index]; }), "Cannot index empty string", file, 110);
}

TEST(String, CopiesShareOneRecordThatIsFreedOnceByTheLastOwner)
{
	releases = 0;
	countingReleases = true;
	{
		Tarn::String first("shared");
		{
			Tarn::String second(first);
			Tarn::String third;
			third = second;
			third = third;
			EXPECT_EQ(first.getText(), third.getText());
			EXPECT_EQ(first.getReferenceCount(), 3);
		}
		EXPECT_EQ(first.getReferenceCount(), 1);
		EXPECT_EQ(releases, 0);
	}
	countingReleases = false;
	EXPECT_EQ(releases, 2) << "the character array and the record, once each";
}

TEST(String, AssignmentReleasesTheOldRecord)
{
	Tarn::String kept("kept");
	Tarn::String target("dropped");
	Tarn::String other(target);
	target = kept;
	EXPECT_EQ(other.getReferenceCount(), 1);
	EXPECT_EQ(kept.getReferenceCount(), 2);
	EXPECT_STREQ(target.getText(), "kept");
}

TEST(String, ConcatenationWithAnEmptyRightSideSharesTheLeftRecord)
{
	const Tarn::String abc("abc");
	const Tarn::String same = abc + "";
	EXPECT_EQ(same.getText(), abc.getText());
	EXPECT_EQ(abc.getReferenceCount(), 2);

	const Tarn::String alsoSame = abc + Tarn::String();
	EXPECT_EQ(alsoSame.getText(), abc.getText());

	const Tarn::String nullResult = Tarn::String() + "";
	EXPECT_EQ(nullResult.getText(), nullptr);
}

TEST(String, ConcatenationBuildsANewRecordOtherwise)
{
	const Tarn::String abc("abc");
	const Tarn::String copied = "" + abc;
	EXPECT_NE(copied.getText(), abc.getText());
	EXPECT_STREQ(copied.getText(), "abc");
	EXPECT_EQ(copied.getReferenceCount(), 1);
	EXPECT_EQ(abc.getReferenceCount(), 1);

	const Tarn::String path("Data/Blit.vert");
	const Tarn::String message = Tarn::String("Could not load texture ") + "\"" + path + "\"";
	EXPECT_STREQ(message.getText(), "Could not load texture \"Data/Blit.vert\"");
	EXPECT_EQ(message.getLength(), 39);
	EXPECT_STREQ((Tarn::String() + "x").getText(), "x");
}

TEST(Exception, CarriesMessageFileAndLineAndCopiesBySharing)
{
	const Tarn::String message("Could not initialize sync device");
	const Tarn::Exception original(message, "src\\Sync", 48);
	const Tarn::Exception copy(original);
	expectException(copy, "Could not initialize sync device", "src\\Sync", 48);
	EXPECT_EQ(copy.getMessage().getText(), message.getText());
	EXPECT_EQ(message.getReferenceCount(), 3);
}
