// The window gives the client size it was asked for and a compatibility context with depth;
// closing is idempotent and the close box only raises a request.
#include "GLTest.h"

namespace
{
	void pushWindowEvent(SDL_Window* window, Uint8 windowEvent)
	{
		SDL_Event event = {};
		event.type = SDL_WINDOWEVENT;
		event.window.event = windowEvent;
		event.window.windowID = SDL_GetWindowID(window);
		SDL_PushEvent(&event);
	}
}

using GLWindowTest = GLTest;

TEST_F(GLWindowTest, ContextIsCompatibilityProfileWithDepthAndTheRequestedSize)
{
	EXPECT_TRUE(window.isOpen());
	EXPECT_EQ(window.getWidth(), 64);
	EXPECT_EQ(window.getHeight(), 64);
	int drawableWidth = 0;
	int drawableHeight = 0;
	SDL_GL_GetDrawableSize(window.getHandle(), &drawableWidth, &drawableHeight);
	EXPECT_EQ(drawableWidth, 64);
	EXPECT_EQ(drawableHeight, 64);

	GLint major = 0;
	glGetIntegerv(GL_MAJOR_VERSION, &major);
	EXPECT_GE(major, 3);
	GLint depthBits = 0;
	glGetIntegerv(GL_DEPTH_BITS, &depthBits);
	EXPECT_EQ(depthBits, 24);
	// Fixed-function drawing is what the credits and passes rely on.
	glBegin(GL_QUADS);
	glVertex2f(-1.0f, -1.0f);
	glVertex2f(1.0f, -1.0f);
	glVertex2f(1.0f, 1.0f);
	glVertex2f(-1.0f, 1.0f);
	glEnd();
	EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
	window.update();
}

TEST_F(GLWindowTest, CloseBoxRaisesARequestAndLeavesTheWindowOpen)
{
	window.update();
	EXPECT_FALSE(window.isCloseRequested());

	pushWindowEvent(window.getHandle(), SDL_WINDOWEVENT_CLOSE);
	window.update();

	EXPECT_TRUE(window.isCloseRequested());
	EXPECT_TRUE(window.isOpen());
}

TEST_F(GLWindowTest, TracksSizeChangesAndClosesOnlyOnce)
{
	window.resize(1024, 768);
	EXPECT_EQ(window.getWidth(), 1024);
	EXPECT_EQ(window.getHeight(), 768);
	EXPECT_FLOAT_EQ(window.getAspectRatio(), 1.3333334f);

	window.close();
	EXPECT_FALSE(window.isOpen());
	window.close();
	EXPECT_FALSE(window.isOpen());
}

TEST_F(GLWindowTest, RefusedFullscreenModeFailsBeforeAnyWindowExists)
{
	GLWindow fullscreen;

	const Tarn::Exception error = catchException([&] { fullscreen.create("refused", true, 1234, 567, 0); });

	EXPECT_EQ(text(error.getMessage()), "Could not create fullscreen window");
	EXPECT_EQ(text(error.getFile()), "src\\Window");
	EXPECT_EQ(error.getLine(), 54);
	EXPECT_FALSE(fullscreen.isOpen());
	EXPECT_EQ(fullscreen.getHandle(), nullptr);
}
