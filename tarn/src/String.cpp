#include <tarn/String.h>
#include <tarn/Exception.h>

#include <cstdlib> // Required for: malloc(), free()
#include <cstring> // Required for: strlen(), memcpy()

namespace Tarn
{
	String::String()
		: record(nullptr)
	{
	}

	String::String(const char* text)
		: record(nullptr)
	{
		const size_t length = text ? std::strlen(text) : 0;
		record = new Record;
		record->size = (int)length + 1;
		record->data = new char[length + 1];
		if (length)
			std::memcpy(record->data, text, length);
		record->data[length] = 0;
		record->refCount = 1;
	}

	String::String(const String& other)
		: record(other.record)
	{
		if (record)
			record->refCount++;
	}

	String::~String()
	{
		release();
	}

	String& String::operator=(const String& other)
	{
		if (this != &other)
		{
			release();
			record = other.record;
			if (record)
				record->refCount++;
		}
		return *this;
	}

	void String::release()
	{
		if (!record)
			return;
		if (--record->refCount == 0)
		{
			delete[] record->data;
			delete record;
		}
		record = nullptr;
	}

	int String::getLength() const
	{
		return record ? record->size - 1 : 0;
	}

	const char* String::getText() const
	{
		return record ? record->data : nullptr;
	}

	const char& String::operator[](int index) const
	{
		if (!record)
			throw Exception("Cannot index empty string", "tarn\\include\\tarn\\String", 110);
		if (index < 0 || index >= record->size)
			throw Exception("Index out of bounds", "tarn\\include\\tarn\\String", 111);
		return record->data[index];
	}

	int String::getReferenceCount() const
	{
		return record ? record->refCount : 0;
	}

	String operator+(const String& left, const String& right)
	{
		// An empty right side shares the left record: no allocation, even when left is null.
		if (right.getLength() == 0)
			return left;

		const int leftLength = left.getLength();
		const int rightLength = right.getLength();
		char* scratch = new char[(size_t)leftLength + (size_t)rightLength + 1];
		for (int i = 0; i < leftLength; i++)
			scratch[i] = left[i];
		for (int i = 0; i < rightLength; i++)
			scratch[leftLength + i] = right[i];
		scratch[leftLength + rightLength] = 0;
		String result(scratch);
		delete[] scratch;
		return result;
	}

	String operator+(const String& left, const char* right)
	{
		return left + String(right);
	}

	String operator+(const char* left, const String& right)
	{
		return String(left) + right;
	}
}
