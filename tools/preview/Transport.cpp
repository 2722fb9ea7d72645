#include "Transport.h"

#include "Audio.h"
#include "Show.h"
#include "ShowPosition.h"

#include <cmath>

Transport::Transport(Audio& audio, const MusicSections& sections)
	: audio(audio), sections(sections)
{
}

double Transport::lastMoment()
{
	return Show::length - 0.001;
}

double Transport::getPosition()
{
	return audio.getPosition();
}

void Transport::seek(double seconds)
{
	const double kept = std::fmin(std::fmax(seconds, 0.0), lastMoment());
	audio.setPosition(std::ceil(kept * 1000.0 - 1e-6) / 1000.0);
}

void Transport::setPaused(bool pause)
{
	if (pause == paused)
		return;
	paused = pause;
	if (pause)
		audio.pause();
	else
		audio.resume();
}

void Transport::togglePause()
{
	// Held at the end of the show, playing again starts it over.
	if (paused && !looping && getPosition() >= lastMoment() - 0.0005)
		seek(0.0);
	setPaused(!paused);
}

void Transport::stepBeats(int count)
{
	seek(ShowPosition::stepOnGrid(getPosition(), count, ShowPosition::secondsPerBeat, lastMoment()));
}

void Transport::stepBars(int count)
{
	seek(ShowPosition::stepOnGrid(getPosition(), count, ShowPosition::secondsPerBar, lastMoment()));
}

void Transport::home()
{
	seek(looping ? loopFrom : 0.0);
}

void Transport::setLoop(double from, double to)
{
	looping = true;
	loopFrom = from;
	loopTo = std::fmin(to, Show::length);
}

void Transport::clearLoop()
{
	looping = false;
}

void Transport::toggleSectionLoop()
{
	if (looping)
	{
		clearLoop();
		return;
	}
	const int section = sections.sectionAt(getPosition());
	if (section >= 0)
		setLoop(sections.sections[section].from, sections.sections[section].to);
}

void Transport::update()
{
	const double position = getPosition();
	const double loopEnd = std::fmin(loopTo, lastMoment());
	if (looping && position >= loopEnd)
		seek(ShowPosition::wrapIntoLoop(position, loopFrom, loopEnd));
	else if (!looping && position >= lastMoment())
	{
		setPaused(true);
		seek(lastMoment());
	}
}
