#include <tarn/Exception.h>

namespace Tarn
{
	Exception::Exception(const String& message, const String& file, int line)
		: message(message), file(file), line(line)
	{
	}

	String Exception::getMessage() const
	{
		return message;
	}

	String Exception::getFile() const
	{
		return file;
	}

	int Exception::getLine() const
	{
		return line;
	}
}
