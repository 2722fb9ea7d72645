// Tarn::String: a reference-counted string whose text never changes after it is built.
// Copies share one record; the last owner to let go frees it.
#pragma once

namespace Tarn
{
	class String
	{
	public:
		String();
		String(const char* text);
		String(const String& other);
		~String();

		String& operator=(const String& other);

		int getLength() const;
		const char* getText() const;

		// Throws "Cannot index empty string" for a null string, "Index out of bounds" outside
		// 0..length; index == length yields the terminating zero byte.
		const char& operator[](int index) const;

		// Number of String values sharing this string's record (0 for a null string).
		int getReferenceCount() const;

	private:
		struct Record
		{
			char* data;
			int size; // bytes in data, terminator included
			int refCount;
		};

		void release();

		Record* record;
	};

	String operator+(const String& left, const String& right);
	String operator+(const String& left, const char* right);
	String operator+(const char* left, const String& right);
}
