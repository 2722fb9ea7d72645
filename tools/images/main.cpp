// halvorine-images: paints every image the demo reads (credits, sky boxes, bokeh, stone) into
// a data directory. Same sources, same bytes: no clock and no unseeded randomness is used.
#include "ImageSet.h"

#include <tarn/Exception.h>

#include <cstdio> // Required for: std::fprintf

int main(int argumentCount, char** arguments)
{
	if (argumentCount != 4)
	{
		std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY NAME_FONT CAPTION_FONT\n", arguments[0]);
		return 2;
	}
	try
	{
		writeImageSet(arguments[1], { arguments[2], arguments[3] });
	}
	catch (const Tarn::Exception& exception)
	{
		std::fprintf(stderr, "halvorine-images: %s\n", exception.getMessage().getText());
		return 1;
	}
	return 0;
}
