// The tracks the production tests run on. Times in seconds (17.066666666666666 rows a second):
//   "Part" is -0.5 before 10 s, one past the last scene from 10 s to 20 s, 1 from 20 s to 40 s, then values no int
//   holds: NaN, 3e9 and -3e9, five seconds each, and 1 again from 55 s on.
//   "Camera FOV" 90 throughout; "Bloom Dry" 1 and "Bloom Wet" 0.5 throughout.
#pragma once

const double timeOfNegativePart = 1.0;
const double timeOfPartBeyondList = 15.0;
const double timeOfOmbrix = 30.0;
const double timesOfPartsNoIntHolds[] = { 42.0, 47.0, 52.0 };

void writeTestTracks();
