#include "TrackDocument.h"

#include "TrackParser.h"
#include "TrackSyntax.h"

#include <Meter.h>

#include <cstddef> // Required for: size_t
#include <cstring> // Required for: memcmp()

namespace
{
	bool isSpace(char c)
	{
		return c == ' ' || c == '\t' || c == '\r';
	}

	// Where the three fields of a key line and its comment start, so that a written line lines
	// up with the one it copies.
	struct KeyLineLayout
	{
		std::string indent;
		std::string position; // the position as written
		std::string value;    // the value as written
		size_t valueColumn = 0;
		size_t typeColumn = 0;
		size_t commentColumn = std::string::npos;
		std::string comment; // from "#" to the end, without a "\r"
		bool carriageReturn = false;
		bool tabs = false; // fields set apart by tabs: written with one tab each
	};

	KeyLineLayout layoutOf(const std::string& line)
	{
		KeyLineLayout layout;
		size_t end = line.size();
		if (end > 0 && line[end - 1] == '\r')
		{
			layout.carriageReturn = true;
			end--;
		}
		const size_t hash = line.find('#');
		if (hash != std::string::npos && hash < end)
		{
			layout.commentColumn = hash;
			layout.comment = line.substr(hash, end - hash);
			end = hash;
		}
		size_t starts[3] = {};
		size_t at = 0;
		for (size_t field = 0; field < 3; field++)
		{
			while (at < end && isSpace(line[at]))
				at++;
			starts[field] = at;
			size_t fieldEnd = at;
			while (fieldEnd < end && !isSpace(line[fieldEnd]))
				fieldEnd++;
			if (field == 0)
				layout.position = line.substr(at, fieldEnd - at);
			if (field == 1)
				layout.value = line.substr(at, fieldEnd - at);
			at = fieldEnd;
		}
		layout.indent = line.substr(0, starts[0]);
		layout.tabs = line.find('\t', starts[0]) < end;
		layout.valueColumn = starts[1];
		layout.typeColumn = starts[2];
		return layout;
	}

	void padTo(std::string& line, size_t column, bool tabs)
	{
		if (tabs)
			line += '\t';
		else
			line.append(line.size() < column ? column - line.size() : 1, ' ');
	}

	// A key line in the columns of layout; with keepComment, the layout's comment ends it, and
	// a value the line already holds keeps its text ("1.0" stays "1.0" when only the type changes).
	std::string formatKeyLine(const KeyLineLayout& layout, const std::string& position, const SyncKey& key, bool keepComment)
	{
		std::string line = layout.indent + position;
		padTo(line, layout.valueColumn, layout.tabs);
		float written = 0.0f;
		std::string reason;
		const bool same = keepComment && parseValue(layout.value, written, reason) &&
			std::memcmp(&written, &key.value, sizeof written) == 0;
		line += same ? layout.value : formatValue(key.value);
		padTo(line, layout.typeColumn, layout.tabs);
		line += keyTypeName(key.type) ? keyTypeName(key.type) : "step";
		if (keepComment && !layout.comment.empty())
		{
			padTo(line, layout.commentColumn, layout.tabs);
			line += layout.comment;
		}
		if (layout.carriageReturn)
			line += '\r';
		return line;
	}

	// The row in the notation the neighbouring line uses: bar:beat where it does and the row
	// has one, otherwise the plain row.
	std::string formatPosition(int32_t row, const std::string& like)
	{
		if (like.find(':') != std::string::npos && row >= 0)
			return Meter::formatBarBeat(row);
		return std::to_string(row);
	}

	// The layout of the show's own files, for a file that has no key line to copy.
	const char* const defaultKeyLine = "    0:0      0        step";
}

TrackDocument::TrackDocument(const std::string& path, const std::string& text) : path(path)
{
	TrackParser parser;
	parser.parse(path, text);
	this->text = text;
	tracks = parser.getTracks();
}

const AuthoredTrack* TrackDocument::findTrack(const std::string& name) const
{
	for (const AuthoredTrack& track : tracks)
		if (track.name == name)
			return &track;
	return nullptr;
}

std::vector<std::string> TrackDocument::getLines() const
{
	// Split on "\n" only: a "\r" stays part of its line and is written back as it was.
	std::vector<std::string> lines;
	size_t start = 0;
	while (start < text.size())
	{
		const size_t end = text.find('\n', start);
		if (end == std::string::npos)
		{
			lines.push_back(text.substr(start));
			break;
		}
		lines.push_back(text.substr(start, end - start));
		start = end + 1;
	}
	return lines;
}

void TrackDocument::setLines(const std::vector<std::string>& lines)
{
	const bool finalNewline = text.empty() || text.back() == '\n';
	std::string joined;
	for (size_t i = 0; i < lines.size(); i++)
	{
		joined += lines[i];
		if (i + 1 < lines.size() || finalNewline)
			joined += '\n';
	}
	// Parsed before it is kept: an edit that would break the file throws and changes nothing.
	TrackParser parser;
	parser.parse(path, joined);
	text = joined;
	tracks = parser.getTracks();
}

void TrackDocument::setKey(const std::string& trackName, const SyncKey& key)
{
	std::vector<std::string> lines = getLines();
	const AuthoredTrack* track = findTrack(trackName);
	if (!track)
	{
		// A new track goes at the end, after a blank line, in the layout of the file's last key.
		std::string like = defaultKeyLine;
		for (const AuthoredTrack& other : tracks)
			if (!other.keys.empty())
				like = lines[other.keys.back().place.line - 1];
		if (!lines.empty() && !lines.back().empty())
			lines.push_back("");
		lines.push_back("track " + trackName);
		const KeyLineLayout layout = layoutOf(like);
		lines.push_back(formatKeyLine(layout, formatPosition(key.row, layout.position), key, false));
		setLines(lines);
		return;
	}

	// The keys are in row order: find the one on the row, or the last one before it.
	const AuthoredKey* before = nullptr;
	for (const AuthoredKey& existing : track->keys)
	{
		if (existing.key.row == key.row)
		{
			std::string& line = lines[existing.place.line - 1];
			const KeyLineLayout layout = layoutOf(line);
			line = formatKeyLine(layout, layout.position, key, true);
			setLines(lines);
			return;
		}
		if (existing.key.row < key.row)
			before = &existing;
	}
	const AuthoredKey* neighbour = before ? before : (track->keys.empty() ? nullptr : &track->keys.front());
	const std::string like = neighbour ? lines[neighbour->place.line - 1] : defaultKeyLine;
	const KeyLineLayout layout = layoutOf(like);
	// After the key before it; otherwise in front of the first key, or under the track's name.
	const int insertAt = before ? before->place.line : (neighbour ? neighbour->place.line - 1 : track->place.line);
	lines.insert(lines.begin() + insertAt, formatKeyLine(layout, formatPosition(key.row, layout.position), key, false));
	setLines(lines);
}

bool TrackDocument::removeKey(const std::string& trackName, int32_t row)
{
	const AuthoredTrack* track = findTrack(trackName);
	if (!track)
		return false;
	for (const AuthoredKey& existing : track->keys)
		if (existing.key.row == row)
		{
			std::vector<std::string> lines = getLines();
			lines.erase(lines.begin() + (existing.place.line - 1));
			setLines(lines);
			return true;
		}
	return false;
}
