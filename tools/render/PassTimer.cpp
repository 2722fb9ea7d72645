#include "PassTimer.h"

#include "Program.h"

#include <tarn/Exception.h>

#include <chrono>

static PassTimer* active = nullptr;

static double wallMs()
{
	return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

PassTimer::PassTimer() : realUseProgram(extension_glUseProgram)
{
	if (active)
		throw Tarn::Exception("Only one pass timer can run at a time.", "render", 14);
	// A frame draws a dozen passes or so: room enough that no frame allocates.
	frame.reserve(64);
	names.reserve(64);
	names.emplace_back(0, "(no program)");
	active = this;
	extension_glUseProgram = &PassTimer::useProgram;
}

PassTimer::~PassTimer()
{
	extension_glUseProgram = realUseProgram;
	active = nullptr;
}

void PassTimer::beginFrame()
{
	frame.clear();
	current = 0;
	passStart = wallMs();
}

const std::vector<PassTimer::Pass>& PassTimer::endFrame()
{
	charge(wallMs());
	return frame;
}

const std::string* PassTimer::findName(GLuint program) const
{
	for (const auto& name : names)
		if (name.first == program)
			return &name.second;
	return nullptr;
}

const std::string& PassTimer::nameOf(GLuint program) const
{
	const std::string* name = findName(program);
	return name ? *name : names.front().second;
}

void PassTimer::charge(double now)
{
	const double ms = now - passStart;
	passStart = now;
	for (Pass& pass : frame)
		if (pass.program == current)
		{
			pass.ms += ms;
			return;
		}
	frame.push_back({ current, ms });
}

void APIENTRY PassTimer::useProgram(GLuint program)
{
	PassTimer& timer = *active;
	glFinish();
	timer.charge(wallMs());
	// From here on, the switch itself and what the program draws are the program's.
	timer.current = program;
	if (!timer.findName(program))
	{
		const Program* linked = Program::find(program);
		timer.names.emplace_back(program, linked ? linked->fragmentShader->quotedPath.getText() : "(unknown program)");
	}
	timer.realUseProgram(program);
}
