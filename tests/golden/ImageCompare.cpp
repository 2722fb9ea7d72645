// Compares a rendered frame with its reference: pixels whose channels differ by more than a
// tolerance are counted, and the frame passes while they stay under a fraction of the picture.
// usage: image-compare ACTUAL.png REFERENCE.png [TOLERANCE [MAX_FRACTION [DIFF.png]]]
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
	if (argc < 3 || argc > 6)
	{
		std::fprintf(stderr, "usage: image-compare ACTUAL.png REFERENCE.png [TOLERANCE [MAX_FRACTION [DIFF.png]]]\n");
		return 2;
	}
	const int tolerance = argc > 3 ? std::atoi(argv[3]) : 12;
	const double maxFraction = argc > 4 ? std::atof(argv[4]) : 0.005;

	int width[2], height[2], components = 0;
	unsigned char* actual = stbi_load(argv[1], &width[0], &height[0], &components, 4);
	unsigned char* reference = stbi_load(argv[2], &width[1], &height[1], &components, 4);
	if (!actual || !reference)
	{
		std::fprintf(stderr, "image-compare: could not read %s\n", !actual ? argv[1] : argv[2]);
		return 1;
	}
	if (width[0] != width[1] || height[0] != height[1])
	{
		std::fprintf(stderr, "image-compare: %s is %dx%d, the reference %dx%d\n", argv[1], width[0], height[0],
			width[1], height[1]);
		return 1;
	}

	const int pixels = width[0] * height[0];
	std::vector<unsigned char> diff((size_t)pixels * 4, 0);
	int differing = 0;
	int worst = 0;
	for (int i = 0; i < pixels; i++)
	{
		int largest = 0;
		for (int channel = 0; channel < 4; channel++)
			largest = std::max(largest, std::abs(actual[i * 4 + channel] - reference[i * 4 + channel]));
		worst = std::max(worst, largest);
		if (largest > tolerance)
		{
			differing++;
			diff[i * 4] = 255;
		}
		diff[i * 4 + 1] = (unsigned char)(reference[i * 4 + 1] / 3);
		diff[i * 4 + 3] = 255;
	}
	const double fraction = (double)differing / (double)pixels;
	std::printf("%s: %d of %d pixels differ by more than %d (%.3f%%, allowed %.3f%%), largest difference %d\n",
		argv[1], differing, pixels, tolerance, fraction * 100.0, maxFraction * 100.0, worst);
	if (fraction > maxFraction && argc > 5)
		stbi_write_png(argv[5], width[0], height[0], 4, diff.data(), width[0] * 4);
	stbi_image_free(actual);
	stbi_image_free(reference);
	return fraction > maxFraction ? 1 : 0;
}
