// A scene of the show. The frame calls render with the scene framebuffer bound, the viewport
// covering the output and colour and depth cleared. On return the effect has bound
// targetFramebuffer again, loaded identity into the projection and modelview matrices, left
// program 0 current and blending and depth testing disabled: the credits draw right after it.
#pragma once

#include <tarn/Math.h>

class Effect
{
public:
	virtual void render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection) = 0;

protected:
	// Effects are process-lifetime singletons and are never deleted through this interface.
	~Effect() = default;
};
