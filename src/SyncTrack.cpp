#include "SyncTrack.h"

#include <climits> // Required for: INT32_MAX, INT32_MIN
#include <cmath>   // Required for: floor(), pow()
#include <cstdio>  // Required for: fopen(), fread(), fseek(), ftell(), fclose()
#include <cstdlib> // Required for: malloc(), free()
#include <cstring> // Required for: memcpy()

namespace
{
	const long headerSize = 4;
	const long keySize = 9;

	// The file is little-endian whatever the machine; assemble the words byte by byte.
	int32_t readInt32(const unsigned char* bytes)
	{
		return (int32_t)((uint32_t)bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 | (uint32_t)bytes[3] << 24);
	}

	float readFloat32(const unsigned char* bytes)
	{
		const int32_t bits = readInt32(bytes);
		float value;
		static_assert(sizeof value == sizeof bits, "float must be 32 bits");
		std::memcpy(&value, &bits, sizeof value);
		return value;
	}

	long fileSize(FILE* file)
	{
		if (std::fseek(file, 0, SEEK_END) != 0)
			return -1;
		const long size = std::ftell(file);
		if (std::fseek(file, 0, SEEK_SET) != 0)
			return -1;
		return size;
	}

	// Keys read from a file the format cannot vouch for: the count must fit the bytes that are
	// there and the rows must rise strictly, or binary search and segment lengths go wrong.
	// On success keys is null only for a file of zero keys.
	bool readKeys(FILE* file, SyncKey*& keys, int32_t& count)
	{
		keys = nullptr;
		count = 0;
		const long size = fileSize(file);
		unsigned char header[headerSize];
		if (size < headerSize || std::fread(header, 1, headerSize, file) != (size_t)headerSize)
			return false;
		const int32_t fileCount = readInt32(header);
		if (fileCount < 0 || fileCount > (size - headerSize) / keySize)
			return false;
		if (fileCount == 0)
			return true;

		SyncKey* fileKeys = (SyncKey*)std::malloc((size_t)fileCount * sizeof(SyncKey));
		if (!fileKeys)
			return false;
		for (int32_t k = 0; k < fileCount; k++)
		{
			unsigned char bytes[keySize];
			if (std::fread(bytes, 1, keySize, file) != (size_t)keySize || (k > 0 && readInt32(bytes) <= fileKeys[k - 1].row))
			{
				std::free(fileKeys);
				return false;
			}
			fileKeys[k].row = readInt32(bytes);
			fileKeys[k].value = readFloat32(bytes + 4);
			fileKeys[k].type = (signed char)bytes[8];
		}
		keys = fileKeys;
		count = fileCount;
		return true;
	}

	// floor(row) as a 32-bit row, saturated so that any double (NaN reads as before every key)
	// converts without overflow.
	int32_t floorRow(double row)
	{
		const double floored = std::floor(row);
		if (!(floored >= (double)INT32_MIN))
			return INT32_MIN;
		if (floored > (double)INT32_MAX)
			return INT32_MAX;
		return (int32_t)floored;
	}
}

int SyncTrack::load(const char* path)
{
	keys = nullptr;
	keyCount = 0;
	FILE* file = std::fopen(path, "rb");
	if (!file)
		return NotOpened;

	const bool wellFormed = readKeys(file, keys, keyCount);
	std::fclose(file);
	return wellFormed ? Loaded : Malformed;
}

int SyncTrack::floorKey(int32_t row) const
{
	int lo = 0;
	int hi = keyCount;
	while (lo < hi)
	{
		const int mid = (lo + hi) / 2;
		if (keys[mid].row < row)
			lo = mid + 1;
		else if (keys[mid].row > row)
			hi = mid;
		else
			return mid;
	}
	return lo - 1;
}

float SyncTrack::valueAt(double row) const
{
	if (keyCount <= 0)
		return 0.0f;

	const int i = floorKey(floorRow(row));
	if (i < 0)
		return keys[0].value;
	if (i > keyCount - 2)
		return keys[keyCount - 1].value;

	const SyncKey& k0 = keys[i];
	const SyncKey& k1 = keys[i + 1];
	if (k0.type == Step)
		return k0.value;

	// The segment length is taken in double: two 32-bit rows can lie more than 2^31 apart.
	const double t = (row - (double)k0.row) / ((double)k1.row - (double)k0.row);
	const float d = k1.value - k0.value;
	double s;
	switch (k0.type)
	{
	case Linear:
		s = t;
		break;
	case Smooth:
		s = t * t * (3.0 - 2.0 * t);
		break;
	case Ramp:
		s = std::pow(t, 2.0);
		break;
	default:
		return 0.0f;
	}
	return (float)((double)k0.value + s * (double)d);
}
