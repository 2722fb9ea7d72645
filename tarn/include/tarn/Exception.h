// Tarn::Exception: the one exception type of the program. Every fatal condition throws it by
// value with a message for the viewer, the throwing source file and a line number.
#pragma once

#include <tarn/String.h>

namespace Tarn
{
	class Exception
	{
	public:
		Exception(const String& message, const String& file, int line);

		String getMessage() const;
		String getFile() const;
		int getLine() const;

	private:
		// Declared in this order so that destruction releases file first, then message.
		String message;
		String file;
		int line;
	};
}
