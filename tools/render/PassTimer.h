// Where a frame's time goes, pass by pass, for --bench --passes. While a PassTimer lives, every
// switch of GLSL program waits for the work drawn so far and charges the wall time since the last
// switch to the program that was in use; program 0 collects what no program draws: clears, fixed
// function drawing (the credits) and the CPU's work between passes. The waits keep passes from
// overlapping, so frames take somewhat longer than in a plain --bench.
#pragma once

#include "Extensions.h"

#include <string>
#include <vector>

class PassTimer
{
public:
	struct Pass
	{
		GLuint program;
		double ms;
	};

	// Takes over glUseProgram; one PassTimer at a time.
	PassTimer();
	// Gives glUseProgram back.
	~PassTimer();

	PassTimer(const PassTimer&) = delete;
	PassTimer& operator=(const PassTimer&) = delete;

	void beginFrame();
	// Call once the frame's work has finished (glFinish): its passes, each program once, in the
	// order they first drew, valid until the next beginFrame.
	const std::vector<Pass>& endFrame();

	// The fragment shader a program was linked from, as errors quote it, seen when it first drew;
	// "(no program)" for 0.
	const std::string& nameOf(GLuint program) const;

private:
	static void APIENTRY useProgram(GLuint program);
	const std::string* findName(GLuint program) const;
	void charge(double now);

	PFNGLUSEPROGRAMPROC realUseProgram;
	std::vector<Pass> frame;
	std::vector<std::pair<GLuint, std::string>> names;
	GLuint current = 0;
	double passStart = 0.0;
};
