// Structural similarity of two frames on their luminance (Wang et al. 2004: an 11x11 Gaussian
// window, sigma 1.5), to tell whether a cheaper shader still draws the same picture. Prints the
// mean SSIM; with a threshold, exits 1 when the pair falls below it.
// usage: halvorine-ssim A.png B.png [MIN]
#include <stb/stb_image.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{
using Plane = std::vector<double>;

struct Image
{
	int width = 0, height = 0;
	Plane luma;
};

bool load(const char* path, Image& image)
{
	int components = 0;
	std::unique_ptr<unsigned char, void (*)(void*)> pixels(
		stbi_load(path, &image.width, &image.height, &components, 3), stbi_image_free);
	if (!pixels)
	{
		std::fprintf(stderr, "halvorine-ssim: could not read %s: %s\n", path, stbi_failure_reason());
		return false;
	}
	const size_t count = (size_t)image.width * (size_t)image.height;
	image.luma.resize(count);
	for (size_t i = 0; i < count; i++)
	{
		const unsigned char* p = pixels.get() + i * 3;
		image.luma[i] = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
	}
	return true;
}

// Separable Gaussian filter over the windows that lie wholly inside the picture; the result is
// (width - 10) x (height - 10).
Plane gaussian(const Plane& in, int width, int height)
{
	const int radius = 5;
	double kernel[2 * radius + 1];
	double sum = 0.0;
	for (int i = -radius; i <= radius; i++)
		sum += kernel[i + radius] = std::exp(-(i * i) / (2.0 * 1.5 * 1.5));
	for (double& k : kernel)
		k /= sum;

	const int outWidth = width - 2 * radius, outHeight = height - 2 * radius;
	Plane rows((size_t)outWidth * height), out((size_t)outWidth * outHeight);
	for (int y = 0; y < height; y++)
		for (int x = 0; x < outWidth; x++)
		{
			double v = 0.0;
			for (int k = 0; k <= 2 * radius; k++)
				v += kernel[k] * in[(size_t)y * width + x + k];
			rows[(size_t)y * outWidth + x] = v;
		}
	for (int y = 0; y < outHeight; y++)
		for (int x = 0; x < outWidth; x++)
		{
			double v = 0.0;
			for (int k = 0; k <= 2 * radius; k++)
				v += kernel[k] * rows[(size_t)(y + k) * outWidth + x];
			out[(size_t)y * outWidth + x] = v;
		}
	return out;
}

Plane product(const Plane& a, const Plane& b)
{
	Plane out(a.size());
	for (size_t i = 0; i < a.size(); i++)
		out[i] = a[i] * b[i];
	return out;
}
}

int main(int argc, char** argv)
{
	if (argc < 3 || argc > 4)
	{
		std::fprintf(stderr, "usage: halvorine-ssim A.png B.png [MIN]\n");
		return 2;
	}
	double minimum = -1.0; // SSIM is never below -1: no threshold passes every pair
	if (argc == 4)
	{
		char* end = nullptr;
		minimum = std::strtod(argv[3], &end);
		if (end == argv[3] || *end != '\0')
		{
			std::fprintf(stderr, "halvorine-ssim: MIN must be a number, not '%s'\n", argv[3]);
			return 2;
		}
	}
	Image a, b;
	if (!load(argv[1], a) || !load(argv[2], b))
		return 2;
	if (a.width != b.width || a.height != b.height)
	{
		std::fprintf(stderr, "halvorine-ssim: %s is %dx%d, %s is %dx%d\n", argv[1], a.width, a.height, argv[2],
			b.width, b.height);
		return 2;
	}
	if (a.width < 11 || a.height < 11)
	{
		std::fprintf(stderr, "halvorine-ssim: %s is smaller than the 11x11 window\n", argv[1]);
		return 2;
	}

	const int w = a.width, h = a.height;
	const Plane meanA = gaussian(a.luma, w, h), meanB = gaussian(b.luma, w, h);
	const Plane squareA = gaussian(product(a.luma, a.luma), w, h);
	const Plane squareB = gaussian(product(b.luma, b.luma), w, h);
	const Plane cross = gaussian(product(a.luma, b.luma), w, h);

	const double c1 = (0.01 * 255.0) * (0.01 * 255.0), c2 = (0.03 * 255.0) * (0.03 * 255.0);
	double total = 0.0;
	for (size_t i = 0; i < meanA.size(); i++)
	{
		const double ma = meanA[i], mb = meanB[i];
		const double varianceA = squareA[i] - ma * ma, varianceB = squareB[i] - mb * mb;
		const double covariance = cross[i] - ma * mb;
		total += ((2.0 * ma * mb + c1) * (2.0 * covariance + c2))
			/ ((ma * ma + mb * mb + c1) * (varianceA + varianceB + c2));
	}
	const double ssim = total / (double)meanA.size();
	std::printf("%.4f\n", ssim);
	return ssim >= minimum ? 0 : 1;
}
