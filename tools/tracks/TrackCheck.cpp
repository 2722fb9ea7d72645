#include "TrackCheck.h"

#include <cctype> // Required for: isalnum()
#include <map>
#include <set>

namespace
{
	struct Token
	{
		enum Kind
		{
			Word,        // identifier or number
			Punctuation, // one character, or "::"
			Literal,     // a string literal, its text unescaped
		};
		Kind kind;
		std::string text;
		int line;
	};

	bool isWordCharacter(char c)
	{
		return std::isalnum((unsigned char)c) || c == '_';
	}

	// Splits C++ source into words, punctuation and string literals, dropping comments and
	// character literals, and counting lines for messages.
	class SourceTokenizer
	{
	public:
		explicit SourceTokenizer(const std::string& source)
			: source(source)
		{
		}

		std::vector<Token> tokenize()
		{
			while (at < source.size())
			{
				const char c = source[at];
				if (c == '\n')
				{
					line++;
					at++;
				}
				else if (startsWith("//"))
					skipPast("\n", false);
				else if (startsWith("/*"))
					skipPast("*/", true);
				else if (c == 'R' && at + 1 < source.size() && source[at + 1] == '"' && (at == 0 || !isWordCharacter(source[at - 1])))
					rawLiteral();
				else if (c == '"')
					quoted('"', true);
				else if (c == '\'')
					quoted('\'', false);
				else if (isWordCharacter(c))
					word();
				else if (startsWith("::"))
				{
					tokens.push_back({ Token::Punctuation, "::", line });
					at += 2;
				}
				else
				{
					if (!std::isspace((unsigned char)c))
						tokens.push_back({ Token::Punctuation, std::string(1, c), line });
					at++;
				}
			}
			return tokens;
		}

	private:
		bool startsWith(const char* text) const
		{
			return source.compare(at, std::char_traits<char>::length(text), text) == 0;
		}

		// Moves past the next end marker, counting the lines it crosses (a line comment leaves
		// its newline to the main loop).
		void skipPast(const std::string& end, bool consumeEnd)
		{
			const size_t found = source.find(end, at + 2);
			const size_t stop = found == std::string::npos ? source.size() : found + (consumeEnd ? end.size() : 0);
			for (; at < stop; at++)
				if (source[at] == '\n')
					line++;
		}

		void quoted(char quote, bool keep)
		{
			const int startLine = line;
			std::string text;
			at++;
			while (at < source.size() && source[at] != quote && source[at] != '\n')
			{
				if (source[at] == '\\' && at + 1 < source.size())
					at++;
				text += source[at++];
			}
			at++;
			if (keep)
				tokens.push_back({ Token::Literal, text, startLine });
		}

		void rawLiteral()
		{
			const int startLine = line;
			const size_t open = source.find('(', at + 2);
			if (open == std::string::npos)
			{
				at = source.size();
				return;
			}
			const std::string end = ")" + source.substr(at + 2, open - at - 2) + "\"";
			const size_t close = source.find(end, open + 1);
			const size_t stop = close == std::string::npos ? source.size() : close;
			const std::string text = source.substr(open + 1, stop - open - 1);
			for (char c : text)
				if (c == '\n')
					line++;
			at = std::min(source.size(), stop + end.size());
			tokens.push_back({ Token::Literal, text, startLine });
		}

		void word()
		{
			const size_t start = at;
			while (at < source.size() && isWordCharacter(source[at]))
				at++;
			tokens.push_back({ Token::Word, source.substr(start, at - start), line });
		}

		const std::string& source;
		std::vector<Token> tokens;
		size_t at = 0;
		int line = 1;
	};

	bool isPunctuation(const Token& token, const char* text)
	{
		return token.kind == Token::Punctuation && token.text == text;
	}
}

namespace
{
	bool mayBeTrackName(const std::string& text)
	{
		return !text.empty() && text.find_first_of("/.%\n") == std::string::npos;
	}

	// The string literals of brace initialisers ("= { ... }" and the braces nested in them):
	// where the code keeps its track names in a table and passes them on, these are the names.
	std::vector<TrackRequest> findTableNames(const std::string& fileName, const std::vector<Token>& tokens)
	{
		std::vector<TrackRequest> names;
		std::vector<bool> bracketIsInitializer; // one entry per open bracket: (, [ or {
		for (size_t i = 0; i < tokens.size(); i++)
		{
			const Token& token = tokens[i];
			if (token.kind == Token::Literal)
			{
				if (!bracketIsInitializer.empty() && bracketIsInitializer.back() && mayBeTrackName(token.text))
					names.push_back({ token.text, SourcePlace{ fileName, token.line } });
			}
			else if (isPunctuation(token, "{"))
			{
				const bool afterInitializerStart = i > 0 && (isPunctuation(tokens[i - 1], "=") || isPunctuation(tokens[i - 1], ","));
				const bool nested = i > 0 && isPunctuation(tokens[i - 1], "{") && !bracketIsInitializer.empty() && bracketIsInitializer.back();
				bracketIsInitializer.push_back(afterInitializerStart || nested);
			}
			else if (isPunctuation(token, "(") || isPunctuation(token, "["))
				bracketIsInitializer.push_back(false);
			else if ((isPunctuation(token, "}") || isPunctuation(token, ")") || isPunctuation(token, "]")) && !bracketIsInitializer.empty())
				bracketIsInitializer.pop_back();
		}
		return names;
	}
}

std::vector<TrackRequest> findTrackRequests(const std::string& fileName, const std::string& source)
{
	const std::vector<Token> tokens = SourceTokenizer(source).tokenize();
	std::vector<TrackRequest> requests;
	bool computesNames = false;
	for (size_t i = 0; i + 3 < tokens.size(); i++)
	{
		if (tokens[i].text != "Sync" || !isPunctuation(tokens[i + 1], "::") || tokens[i + 2].text != "getValue" || !isPunctuation(tokens[i + 3], "("))
			continue;
		// "float Sync::getValue(const char* name)" defines it rather than asking for a track.
		if (i > 0 && tokens[i - 1].kind == Token::Word && tokens[i - 1].text != "return")
			continue;

		// Adjacent literals are one string, as the compiler joins them.
		size_t next = i + 4;
		TrackRequest request{ "", SourcePlace{ fileName, tokens[i].line } };
		bool sawLiteral = false;
		while (next < tokens.size() && tokens[next].kind == Token::Literal)
		{
			request.name += tokens[next++].text;
			sawLiteral = true;
		}
		request.literal = sawLiteral && next < tokens.size() && isPunctuation(tokens[next], ")");
		if (!request.literal)
		{
			request.name.clear();
			computesNames = true;
		}
		requests.push_back(request);
	}

	// A file that passes names around asks for the ones its tables hold.
	if (computesNames)
		for (const TrackRequest& name : findTableNames(fileName, tokens))
			requests.push_back(name);
	return requests;
}

std::vector<std::string> compareTracks(const std::vector<TrackRequest>& requests, const std::vector<AuthoredTrack>& tracks)
{
	std::map<std::string, const TrackRequest*> asked;
	for (const TrackRequest& request : requests)
		if (request.literal && !asked.count(request.name))
			asked[request.name] = &request;
	std::map<std::string, const AuthoredTrack*> authored;
	for (const AuthoredTrack& track : tracks)
		authored[track.name] = &track;

	std::vector<std::string> mismatches;
	for (const auto& [name, request] : asked)
		if (!authored.count(name))
			mismatches.push_back(request->place.describe() + ": track \"" + name + "\" is asked for but not authored");
	for (const auto& [name, track] : authored)
		if (!asked.count(name))
			mismatches.push_back(track->place.describe() + ": track \"" + name + "\" is authored but never asked for");
	return mismatches;
}
