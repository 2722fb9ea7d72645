#include "ImageSet.h"

#include "Bokeh.h"
#include "Credits.h"
#include "CrossLayout.h"
#include "ImageWriter.h"
#include "Rock.h"
#include "Skies.h"

namespace
{
	const int nightFaceSize = 512;
	// The reflection map holds only soft light, so small faces lose nothing.
	const int environmentFaceSize = 128;
	const int columnFaceSize = 384;
}

std::vector<std::string> writeImageSet(const std::string& directory, const CreditFonts& fonts)
{
	std::vector<std::string> written;
	auto path = [&](const std::string& name) {
		written.push_back(name);
		return directory + "/" + name;
	};

	const Font nameFont(fonts.names);
	const Font captionFont(fonts.captions);
	writePng(path("corvale.png"), Credits::titled(nameFont, captionFont, "corvale", "presents"), 4);
	for (const char* name : { "tamsk", "wenlo", "gathra", "pirrow" })
		writePng(path(std::string(name) + ".png"), Credits::name(nameFont, name), 4);
	writePng(path("g.png"), Credits::letterOf(nameFont, "go", 0), 4);
	writePng(path("o.png"), Credits::letterOf(nameFont, "go", 1), 4);
	// The outro's card is the show's own name, on its own.
	writePng(path("end.png"), Credits::title(nameFont, "halvorine"), 4);

	writeJpeg(path("bokehfuckyou.jpg"), Bokeh::paint());
	writeJpeg(path("skyboxlol.jpg"), paintCross(cubeMapCross(), nightFaceSize, nightSky));
	writeJpeg(path("blurry.jpg"), paintCross(cubeMapCross(), environmentFaceSize, environmentSky));
	writeJpeg(path("colonskybox.jpg"), paintCross(columnSkyCross(), columnFaceSize, columnSky));

	const Rock::Pictures rock = Rock::paint();
	writePng(path("rock.png"), rock.colour, 3);
	writePng(path("rockn.png"), rock.normal, 4);
	return written;
}
