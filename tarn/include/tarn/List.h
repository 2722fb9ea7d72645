// Tarn::List: a growable array that grows in fixed steps of 8 slots (never by doubling) and
// checks every index against the number of elements in use.
#pragma once

#include <tarn/Exception.h>

#include <cstdint> // Required for: uint64_t
#include <new>     // Required for: std::bad_alloc

namespace Tarn
{
	template <typename T>
	class List
	{
	public:
		List()
			: capacity(0), count(0), items(nullptr)
		{
		}

		~List()
		{
			clear();
		}

		List(const List&) = delete;
		List& operator=(const List&) = delete;

		void add(T value)
		{
			count++;
			grow();
			items[count - 1] = value;
		}

		T& operator[](int index)
		{
			checkIndex(index);
			return items[index];
		}

		const T& operator[](int index) const
		{
			checkIndex(index);
			return items[index];
		}

		int getCount() const
		{
			return count;
		}

		int getCapacity() const
		{
			return capacity;
		}

		void clear()
		{
			count = 0;
			capacity = 0;
			delete[] items;
			items = nullptr;
		}

	private:
		void checkIndex(int index) const
		{
			if (index < 0 || index >= count)
				throw Exception("Index out of bounds", "tarn\\include\\tarn\\List", 147);
		}

		void grow()
		{
			if (count <= capacity)
				return;
			const int newCapacity = capacity + 8 * ((count - capacity + 7) / 8);

			// A request whose byte size does not fit 32 bits fails instead of wrapping around.
			if ((uint64_t)newCapacity * sizeof(T) > 0xFFFFFFFFull)
				throw std::bad_alloc();

			// Value-initialised: String slots start null, record slots start zeroed.
			T* newItems = new T[newCapacity]();
			for (int i = 0; i < capacity; i++)
				newItems[i] = items[i];
			capacity = newCapacity;
			delete[] items;
			items = newItems;
		}

		int capacity;
		int count;
		T* items;
	};
}
