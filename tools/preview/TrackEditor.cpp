#include "TrackEditor.h"

#include "TrackParser.h"

#include <tarn/Exception.h>

#include <algorithm> // Required for: find_if()
#include <cerrno>  // Required for: errno
#include <cstring> // Required for: strerror()
#include <fcntl.h> // Required for: open()
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h> // Required for: stat(), fchmod()
#include <unistd.h>   // Required for: write(), fsync(), close()

namespace
{
	std::string messageOf(const Tarn::Exception& exception)
	{
		return exception.getMessage().getText() ? exception.getMessage().getText() : "the track text could not be read";
	}

	bool readFile(const std::string& path, std::string& text)
	{
		std::ifstream stream(path, std::ios::binary);
		std::stringstream bytes;
		bytes << stream.rdbuf();
		text = bytes.str();
		return (bool)stream;
	}

	// A temporary file beside the target, flushed to the disk, then renamed over it: a crash
	// leaves the old file or the new one, never half of one.
	bool writeAtomically(const std::string& path, const std::string& text, std::string& error)
	{
		const std::filesystem::path target(path);
		const std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".saving")).string();
		struct stat old;
		const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 0777) : 0644;
		const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
		bool written = file >= 0;
		for (size_t done = 0; written && done < text.size();)
		{
			const ssize_t count = write(file, text.data() + done, text.size() - done);
			written = count > 0;
			done += written ? (size_t)count : 0;
		}
		written = written && fchmod(file, mode) == 0 && fsync(file) == 0;
		const int savedErrno = errno;
		if (file >= 0)
			close(file);
		if (written && std::rename(temporary.c_str(), path.c_str()) == 0)
			return true;
		error = "Could not save \"" + path + "\": " + std::strerror(written ? errno : savedErrno);
		std::remove(temporary.c_str());
		return false;
	}

	std::optional<SyncKey> keyOn(const TrackDocument& document, const std::string& track, int32_t row)
	{
		if (const AuthoredTrack* authored = document.findTrack(track))
			for (const AuthoredKey& key : authored->keys)
				if (key.key.row == row)
					return key.key;
		return std::nullopt;
	}

	void applyKey(TrackDocument& document, const std::string& track, int32_t row, const std::optional<SyncKey>& key)
	{
		if (key)
			document.setKey(track, *key);
		else
			document.removeKey(track, row);
	}
}

TrackEditor::TrackEditor(const std::string& showFolder) : showFolder(showFolder)
{
	if (!std::filesystem::is_directory(showFolder))
		throw Tarn::Exception(("The show folder \"" + showFolder + "\" does not exist").c_str(), "tools\\preview", 0);
	refresh();
}

std::string TrackEditor::pathOf(const std::string& file) const
{
	return (std::filesystem::path(showFolder) / file).string();
}

void TrackEditor::refresh()
{
	std::map<std::string, TrackDocument> read;
	unreadable.clear();
	std::error_code error;
	for (const auto& entry : std::filesystem::directory_iterator(showFolder, error))
	{
		const std::string file = entry.path().filename().string();
		if (entry.path().extension() != ".tracks" || !entry.is_regular_file(error))
			continue;
		std::string text;
		if (!readFile(entry.path().string(), text))
		{
			unreadable[file] = "Could not read \"" + entry.path().string() + "\"";
			continue;
		}
		const auto known = documents.find(file);
		if (known != documents.end() && known->second.getText() == text)
		{
			read.emplace(file, known->second);
			continue;
		}
		try
		{
			read.emplace(file, TrackDocument(entry.path().string(), text));
		}
		catch (const Tarn::Exception& exception)
		{
			// Its tracks keep the keys it last had, as the compiled show does.
			unreadable[file] = messageOf(exception);
			if (known != documents.end())
				read.emplace(file, known->second);
		}
	}
	if (error)
		unreadable[showFolder] = "Could not read the show folder \"" + showFolder + "\": " + error.message();
	documents.swap(read);
}

std::vector<SyncKey> TrackEditor::getKeys(const std::string& track) const
{
	std::vector<SyncKey> keys;
	for (const auto& [file, document] : documents)
		if (const AuthoredTrack* authored = document.findTrack(track))
			for (const AuthoredKey& key : authored->keys)
				keys.push_back(key.key);
	return keys;
}

std::string TrackEditor::fileOf(const std::string& track) const
{
	for (const auto& [file, document] : documents)
		if (document.findTrack(track))
			return file;
	return "";
}

bool TrackEditor::checkReadable(const std::vector<std::string>& files, std::string& error) const
{
	for (const std::string& file : files)
	{
		const auto broken = unreadable.find(file);
		if (broken != unreadable.end())
		{
			error = broken->second;
			return false;
		}
	}
	if (unreadable.count(showFolder))
	{
		error = unreadable.at(showFolder);
		return false;
	}
	return true;
}

bool TrackEditor::edit(const std::vector<KeyEdit>& edits, const std::string& what, std::string& error)
{
	refresh();
	std::vector<std::string> files;
	for (const KeyEdit& edit : edits)
		files.push_back(fileOf(edit.track).empty() ? edit.homeFile : fileOf(edit.track));
	if (!checkReadable(files, error))
		return false;
	std::map<std::string, TrackDocument> changed;
	Step step{ what, {} };
	try
	{
		for (const KeyEdit& edit : edits)
		{
			std::string file = fileOf(edit.track);
			if (file.empty())
				file = edit.homeFile;
			if (changed.find(file) == changed.end())
			{
				const auto known = documents.find(file);
				changed.emplace(file, known != documents.end() ? known->second : TrackDocument(pathOf(file), ""));
			}
			TrackDocument& document = changed.at(file);
			const std::optional<SyncKey> before = keyOn(document, edit.track, edit.row);
			applyKey(document, edit.track, edit.row, edit.key);
			auto stepFile = std::find_if(step.files.begin(), step.files.end(), [&](const FileChange& change) { return change.file == file; });
			if (stepFile == step.files.end())
			{
				const auto known = documents.find(file);
				step.files.push_back(FileChange{ file, known != documents.end() ? known->second.getText() : "", "", {} });
				stepFile = step.files.end() - 1;
			}
			stepFile->changes.push_back(KeyChange{ edit.track, edit.row, before, edit.key });
		}
	}
	catch (const Tarn::Exception& exception)
	{
		error = messageOf(exception);
		return false;
	}
	for (FileChange& change : step.files)
		change.textAfter = changed.at(change.file).getText();
	if (!commit(changed, error))
		return false;
	undoSteps.push_back(step);
	if (undoSteps.size() > undoDepth)
		undoSteps.pop_front();
	redoSteps.clear();
	return true;
}

bool TrackEditor::undo(std::string& error)
{
	error.clear();
	if (undoSteps.empty())
		return false;
	if (!replay(undoSteps.back(), false, error))
		return false;
	redoSteps.push_back(undoSteps.back());
	undoSteps.pop_back();
	return true;
}

bool TrackEditor::redo(std::string& error)
{
	error.clear();
	if (redoSteps.empty())
		return false;
	if (!replay(redoSteps.back(), true, error))
		return false;
	undoSteps.push_back(redoSteps.back());
	redoSteps.pop_back();
	return true;
}

bool TrackEditor::replay(Step& step, bool forward, std::string& error)
{
	refresh();
	std::vector<std::string> files;
	for (const FileChange& change : step.files)
		files.push_back(change.file);
	if (!checkReadable(files, error))
		return false;
	std::map<std::string, TrackDocument> changed;
	std::vector<std::pair<std::string, std::string>> texts; // per file: the text now, the text written
	try
	{
		for (const FileChange& change : step.files)
		{
			const auto known = documents.find(change.file);
			const TrackDocument current = known != documents.end() ? known->second : TrackDocument(pathOf(change.file), "");
			const std::string& expected = forward ? change.textBefore : change.textAfter;
			if (current.getText() == expected)
			{
				changed.emplace(change.file, TrackDocument(pathOf(change.file), forward ? change.textAfter : change.textBefore));
			}
			else
			{
				// Someone else saved the file since: their change stays, and only this step's
				// keys are put back.
				TrackDocument document = current;
				if (forward)
					for (const KeyChange& key : change.changes)
						applyKey(document, key.track, key.row, key.after);
				else
					for (auto key = change.changes.rbegin(); key != change.changes.rend(); ++key)
						applyKey(document, key->track, key->row, key->before);
				changed.emplace(change.file, document);
			}
			texts.emplace_back(current.getText(), changed.at(change.file).getText());
		}
	}
	catch (const Tarn::Exception& exception)
	{
		error = messageOf(exception);
		return false;
	}
	if (!commit(changed, error))
		return false;
	// The step now joins the texts as they really were, so the next undo or redo matches them.
	for (size_t i = 0; i < step.files.size(); i++)
	{
		step.files[i].textBefore = forward ? texts[i].first : texts[i].second;
		step.files[i].textAfter = forward ? texts[i].second : texts[i].first;
	}
	return true;
}

bool TrackEditor::commit(const std::map<std::string, TrackDocument>& changed, std::string& error)
{
	// The show as a whole must still compile: a name may appear only once across the files.
	try
	{
		TrackParser whole;
		std::map<std::string, const TrackDocument*> show;
		for (const auto& [file, document] : documents)
			show[file] = &document;
		for (const auto& [file, document] : changed)
			show[file] = &document;
		for (const auto& [file, document] : show)
			whole.parse(document->getPath(), document->getText());
	}
	catch (const Tarn::Exception& exception)
	{
		error = messageOf(exception);
		return false;
	}
	lastSaved.clear();
	for (const auto& [file, document] : changed)
	{
		const auto known = documents.find(file);
		if (known != documents.end() && known->second.getText() == document.getText())
			continue;
		lastSaved.push_back(file);
		if (document.getText().empty())
		{
			// Only the undo of a file's first track empties it: the file was not there before.
			std::error_code removeError;
			std::filesystem::remove(pathOf(file), removeError);
			documents.erase(file);
			continue;
		}
		// A save by another editor since the edit began is kept: this edit is refused instead.
		std::string onDisk;
		const bool exists = readFile(pathOf(file), onDisk);
		if (exists != (known != documents.end()) || (exists && onDisk != known->second.getText()))
		{
			error = "\"" + pathOf(file) + "\" changed on disk during the edit; nothing was saved, make the edit again";
			return false;
		}
		if (!writeAtomically(pathOf(file), document.getText(), error))
			return false;
		documents.erase(file);
		documents.emplace(file, document);
	}
	return true;
}
