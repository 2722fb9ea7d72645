// The score's text form, line by line. A line is a keyword and its arguments; "#" starts a
// comment. Pattern rows begin with "|" and belong to the pattern declared above them.
#include "ScoreParser.h"

#include <tarn/Exception.h> // Required for: Tarn::Exception

#include <cctype>  // Required for: std::isdigit, std::isspace
#include <cmath>   // Required for: std::floor, std::isfinite
#include <cstdlib> // Required for: std::strtod
#include <fstream> // Required for: std::ifstream
#include <sstream> // Required for: std::istringstream, std::ostringstream

namespace Music
{
	namespace
	{
		// Far beyond any score's length; keeps bar arithmetic well inside an int and a frame count.
		constexpr int maxBar = 10000;

		class LineReader
		{
		public:
			LineReader(const std::string& fileName, int line, const std::vector<std::string>& words)
				: fileName(fileName), line(line), words(words)
			{
			}

			[[noreturn]] void fail(const std::string& what) const
			{
				const std::string message = fileName + ":" + std::to_string(line) + ": " + what;
				throw Tarn::Exception(message.c_str(), __FILE__, __LINE__);
			}

			size_t count() const { return words.size(); }

			const std::string& word(size_t index) const
			{
				if (index >= words.size())
					fail("\"" + words[0] + "\" needs more arguments");
				return words[index];
			}

			double number(size_t index) const
			{
				const std::string& text = word(index);
				char* end = nullptr;
				const double value = std::strtod(text.c_str(), &end);
				if (end == text.c_str() || *end != '\0' || !std::isfinite(value))
					fail("\"" + text + "\" is not a number");
				return value;
			}

			// A count or a bar number: checked against its range before it becomes an int.
			int wholeNumber(size_t index, int lowest, int highest) const
			{
				const double value = number(index);
				if (value != std::floor(value) || value < lowest || value > highest)
					fail("\"" + word(index) + "\" is not a whole number from " + std::to_string(lowest) + " to " +
						std::to_string(highest));
				return static_cast<int>(value);
			}

			// A position is a bar ("12") or a bar and a beat within it ("12:2.5").
			double position(size_t index) const
			{
				const std::string& text = word(index);
				const size_t colon = text.find(':');
				char* end = nullptr;
				const std::string barText = text.substr(0, colon);
				const double bar = std::strtod(barText.c_str(), &end);
				if (end == barText.c_str() || *end != '\0' || !(bar >= 0.0 && bar <= maxBar))
					fail("\"" + text + "\" is not a bar or bar:beat position (bars 0 to " + std::to_string(maxBar) + ")");
				if (colon == std::string::npos)
					return bar;
				const std::string beatText = text.substr(colon + 1);
				const double beat = std::strtod(beatText.c_str(), &end);
				if (end == beatText.c_str() || *end != '\0' || beat < 0.0 || beat >= 4.0)
					fail("\"" + text + "\" is not a bar or bar:beat position");
				return bar + beat / 4.0;
			}

			void expectCount(size_t expected) const
			{
				if (words.size() != expected)
					fail("\"" + words[0] + "\" takes " + std::to_string(expected - 1) + " arguments");
			}

			int lineNumber() const { return line; }

		private:
			const std::string& fileName;
			int line;
			const std::vector<std::string>& words;
		};

		// "A4", "C#5", "Bb2": a note name, an optional sharp or flat and an octave (-1 to 9).
		bool parseNoteName(const std::string& text, int& note)
		{
			static const int semitones[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
			if (text.size() < 2 || text[0] < 'A' || text[0] > 'G')
				return false;
			int value = semitones[text[0] - 'A'];
			size_t at = 1;
			if (text[at] == '#')
				value += 1, at++;
			else if (text[at] == 'b')
				value -= 1, at++;
			bool negative = false;
			if (at < text.size() && text[at] == '-')
				negative = true, at++;
			if (at + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
				return false;
			const int octave = (text[at] - '0') * (negative ? -1 : 1);
			note = value + (octave + 1) * 12;
			return true;
		}

		Step parseStep(const LineReader& reader, const std::string& token)
		{
			Step step;
			std::string body = token;
			// Trailing "^" and "_" shift an octave up or down; a trailing "!" accents the note.
			while (!body.empty() && (body.back() == '^' || body.back() == '_' || body.back() == '!'))
			{
				if (body.back() == '^')
					step.octave++;
				else if (body.back() == '_')
					step.octave--;
				else
					step.velocity = 1.0f;
				body.pop_back();
			}
			if (body == ".")
				step.kind = Step::Kind::Rest;
			else if (body == "-")
				step.kind = Step::Kind::Hold;
			else if (body == "x" || body == "X" || body == "o")
			{
				step.kind = Step::Kind::Hit;
				step.velocity = body == "X" ? 1.0f : body == "x" ? 0.75f : 0.45f;
			}
			else if (body == "c")
				step.kind = Step::Kind::WholeChord;
			else if (body == "r")
				step.kind = Step::Kind::Root;
			else if (body.size() == 1 && body[0] >= '1' && body[0] <= '9')
			{
				step.kind = Step::Kind::ChordTone;
				step.note = body[0] - '0';
			}
			else if (parseNoteName(body, step.note))
				step.kind = Step::Kind::Note;
			else
				reader.fail("\"" + token + "\" is not a step (. - x X o c r 1-9 or a note such as C#4)");
			return step;
		}

		void addPatternRow(const LineReader& reader, Pattern* pattern, const std::vector<std::string>& words)
		{
			if (!pattern)
				reader.fail("a pattern row needs a \"pattern\" line above it");
			std::vector<Step> row;
			for (size_t i = 1; i < words.size(); i++)
				if (words[i] != "|")
					row.push_back(parseStep(reader, words[i]));
			if (static_cast<int>(row.size()) != pattern->stepsPerBar)
				reader.fail("a row of this pattern has " + std::to_string(pattern->stepsPerBar) + " steps, not " +
					std::to_string(row.size()));
			pattern->bars.push_back(row);
		}

		std::vector<std::string> splitWords(const std::string& text)
		{
			// "#" starts a comment only at the start of a word: inside one it is a sharp (C#4).
			size_t comment = 0;
			while (comment < text.size() && !(text[comment] == '#' && (comment == 0 || std::isspace(static_cast<unsigned char>(text[comment - 1])))))
				comment++;
			std::vector<std::string> words;
			std::istringstream stream(text.substr(0, comment));
			std::string word;
			while (stream >> word)
				words.push_back(word);
			// "|x . x|" is read as "|", "x . x", "|" so rows may hug their bars.
			std::vector<std::string> split;
			for (const std::string& w : words)
			{
				size_t start = 0;
				for (size_t i = 0; i <= w.size(); i++)
					if (i == w.size() || w[i] == '|')
					{
						if (i > start)
							split.push_back(w.substr(start, i - start));
						if (i < w.size())
							split.push_back("|");
						start = i + 1;
					}
			}
			return split;
		}
	}

	Score parseScore(const std::string& text, const std::string& fileName)
	{
		Score score;
		score.fileName = fileName;
		Pattern* openPattern = nullptr;
		std::istringstream lines(text);
		std::string lineText;
		int lineNumber = 0;
		while (std::getline(lines, lineText))
		{
			lineNumber++;
			const std::vector<std::string> words = splitWords(lineText);
			if (words.empty())
				continue;
			const LineReader reader(fileName, lineNumber, words);
			const std::string& keyword = words[0];
			if (keyword == "|")
			{
				addPatternRow(reader, openPattern, words);
				continue;
			}
			openPattern = nullptr;
			if (keyword == "tempo")
			{
				reader.expectCount(2);
				score.tempo = reader.number(1);
				if (score.tempo < 20.0 || score.tempo > 400.0)
					reader.fail("the tempo must lie between 20 and 400 beats per minute");
			}
			else if (keyword == "length")
			{
				reader.expectCount(2);
				score.lengthBars = reader.position(1);
			}
			else if (keyword == "fade")
			{
				reader.expectCount(2);
				score.fadeFromBar = reader.position(1);
			}
			else if (keyword == "master")
			{
				reader.expectCount(5);
				if (reader.word(1) != "loudness" || reader.word(3) != "peak")
					reader.fail("\"master\" reads: master loudness LUFS peak DBTP");
				score.loudness = reader.number(2);
				score.truePeak = reader.number(4);
			}
			else if (keyword == "delay")
			{
				reader.expectCount(4);
				score.delayBeats = reader.number(1);
				score.delayFeedback = reader.number(2);
				score.delayDamping = reader.number(3);
				if (score.delayBeats <= 0.0 || score.delayBeats > 8.0 || score.delayFeedback < 0.0 || score.delayFeedback >= 1.0)
					reader.fail("\"delay\" reads: delay BEATS FEEDBACK DAMPING (0 < BEATS <= 8, 0 <= FEEDBACK < 1)");
			}
			else if (keyword == "reverb")
			{
				reader.expectCount(4);
				score.reverbSize = reader.number(1);
				score.reverbDamping = reader.number(2);
				score.reverbPreDelay = reader.number(3);
				if (score.reverbSize < 0.0 || score.reverbSize > 1.0 || score.reverbDamping < 0.0 || score.reverbDamping > 1.0 ||
					score.reverbPreDelay < 0.0 || score.reverbPreDelay > 0.5)
					reader.fail("\"reverb\" reads: reverb SIZE DAMPING PREDELAY (size and damping 0 to 1, pre-delay up to 0.5 s)");
			}
			else if (keyword == "section")
			{
				reader.expectCount(4);
				score.sections.push_back({reader.word(1), reader.position(2), reader.position(3)});
			}
			else if (keyword == "cue")
			{
				reader.expectCount(3);
				score.cues.push_back({reader.word(1), reader.position(2)});
			}
			else if (keyword == "instrument")
			{
				if (words.size() < 3 || words.size() % 2 == 0)
					reader.fail("\"instrument\" reads: instrument NAME TYPE [SETTING VALUE]...");
				InstrumentSpec spec;
				spec.name = words[1];
				spec.type = words[2];
				spec.line = lineNumber;
				for (size_t i = 3; i < words.size(); i += 2)
					spec.settings[words[i]] = reader.number(i + 1);
				for (const InstrumentSpec& other : score.instruments)
					if (other.name == spec.name)
						reader.fail("instrument \"" + spec.name + "\" is declared twice");
				score.instruments.push_back(spec);
			}
			else if (keyword == "chord")
			{
				if (words.size() < 4)
					reader.fail("\"chord\" reads: chord NAME ROOT NOTE...");
				Chord chord;
				if (!parseNoteName(words[2], chord.root))
					reader.fail("\"" + words[2] + "\" is not a note");
				for (size_t i = 3; i < words.size(); i++)
				{
					int note = 0;
					if (!parseNoteName(words[i], note))
						reader.fail("\"" + words[i] + "\" is not a note");
					chord.notes.push_back(note);
				}
				score.chords[words[1]] = chord;
			}
			else if (keyword == "chords")
			{
				const int firstBar = reader.wholeNumber(1, 0, maxBar);
				for (size_t i = 2; i < words.size(); i++)
				{
					if (score.chords.find(words[i]) == score.chords.end())
						reader.fail("chord \"" + words[i] + "\" is not declared");
					score.chordOfBar[firstBar + static_cast<int>(i) - 2] = words[i];
				}
			}
			else if (keyword == "pattern")
			{
				if (words.size() != 2 && words.size() != 3)
					reader.fail("\"pattern\" reads: pattern NAME [STEPS PER BAR]");
				if (score.patterns.count(words[1]))
					reader.fail("pattern \"" + words[1] + "\" is declared twice");
				Pattern& pattern = score.patterns[words[1]];
				pattern.line = lineNumber;
				if (words.size() == 3)
					pattern.stepsPerBar = reader.wholeNumber(2, 1, 64);
				openPattern = &pattern;
			}
			else if (keyword == "play")
			{
				if (words.size() != 5 && words.size() != 7)
					reader.fail("\"play\" reads: play INSTRUMENT PATTERN FROM TO [velocity V]");
				Placement placement{words[1], words[2], reader.position(3), reader.position(4), 1.0, lineNumber};
				if (words.size() == 7)
				{
					if (words[5] != "velocity")
						reader.fail("\"" + words[5] + "\" is not \"velocity\"");
					placement.velocity = reader.number(6);
				}
				if (placement.toBar <= placement.fromBar)
					reader.fail("a placement must end after it starts");
				score.placements.push_back(placement);
			}
			else if (keyword == "automate")
			{
				if (words.size() < 5 || words.size() % 2 == 0)
					reader.fail("\"automate\" reads: automate INSTRUMENT PARAMETER POSITION VALUE...");
				AutomationLane lane{words[1], words[2], {}};
				if (lane.parameter != "level" && lane.parameter != "cutoff" && lane.parameter != "reverb" && lane.parameter != "delay")
					reader.fail("\"" + lane.parameter + "\" cannot be automated (level, cutoff, reverb, delay)");
				for (size_t i = 3; i < words.size(); i += 2)
				{
					const AutomationPoint point{reader.position(i), reader.number(i + 1)};
					if (!lane.points.empty() && point.bar < lane.points.back().bar)
						reader.fail("automation points must not go back in time");
					lane.points.push_back(point);
				}
				score.automation.push_back(lane);
			}
			else
				reader.fail("unknown keyword \"" + keyword + "\"");
		}
		if (score.lengthBars <= 0.0)
			throw Tarn::Exception((fileName + ": the score has no \"length\"").c_str(), __FILE__, __LINE__);
		for (const auto& entry : score.patterns)
			if (entry.second.bars.empty())
			{
				const std::string message = fileName + ":" + std::to_string(entry.second.line) + ": pattern \"" + entry.first + "\" has no rows";
				throw Tarn::Exception(message.c_str(), __FILE__, __LINE__);
			}
		return score;
	}

	Score readScoreFile(const std::string& path)
	{
		std::ifstream file(path, std::ios::binary);
		if (!file)
			throw Tarn::Exception(("Could not open score \"" + path + "\"").c_str(), __FILE__, __LINE__);
		std::ostringstream text;
		text << file.rdbuf();
		return parseScore(text.str(), path);
	}
}
