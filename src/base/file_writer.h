#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lark {

// Why a file could not be written, in words for the user ("cannot create …: Permission denied").
struct WriteStatus
{
    std::string failure; // empty when written

    bool ok() const { return failure.empty(); }
    explicit operator bool() const { return ok(); }
};

// An exclusive lock on a lock file, held for the object's life: programs sharing a folder take
// turns on it. A lock file that cannot be made (a link planted at its name) locks nothing.
class FileLock
{
public:
    explicit FileLock(int fd);
    ~FileLock();
    FileLock(FileLock &&other) noexcept;
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    FileLock &operator=(FileLock &&) = delete;

private:
    int m_fd;
};

// Replaces files of one folder whole. Each new content goes to a fresh temporary beside its file
// (an unpredictable name, made with O_EXCL | O_NOFOLLOW, so nothing planted can be written
// through), is synced, and only then renamed over the file; the folder is synced once at the
// end. A reader finds the old file or the new one, never a half-written one, also after a
// crash or a power cut. One writer per thread.
class FileWriter
{
public:
    enum class Folder {
        // Must exist already; may be reached through a link, as a user's settings may.
        Existing,
        // Made (0700, with its parents) when missing.
        Made,
        // Made when missing, but never a link and owned by this user: a cache in a folder that
        // others could have prepared is not written at all.
        OwnNoLink,
    };

    explicit FileWriter(std::filesystem::path folder, Folder rule = Folder::Existing);
    ~FileWriter();
    FileWriter(const FileWriter &) = delete;
    FileWriter &operator=(const FileWriter &) = delete;

    // Makes and checks the folder by its rule; stage() does so itself when it has not been.
    WriteStatus openFolder();
    // Writes the new content of folder/name to its temporary; nothing is replaced yet.
    WriteStatus stage(std::string_view name, std::string_view bytes, int mode = 0644);
    // Syncs every staged file, then renames each over its file, then syncs the folder. A file
    // whose temporary could not be synced is left as it was.
    WriteStatus commit();

    const std::filesystem::path &folder() const { return m_folder; }
    // Waits for the lock file folder/name (made when missing, never through a link).
    FileLock lock(std::string_view name);

private:
    struct Staged
    {
        std::string temporary;
        std::string name;
    };
    WriteStatus failed(std::string_view what, std::string_view name, int error) const;
    void discardStaged();

    std::filesystem::path m_folder;
    Folder m_rule;
    int m_folderFd = -1;
    std::vector<Staged> m_staged;
};

// One file replaced whole through a FileWriter of its folder.
WriteStatus replaceFile(const std::filesystem::path &file, std::string_view bytes,
                        FileWriter::Folder rule = FileWriter::Folder::Made, int mode = 0644);

// The temporaries FileWriter makes (".NAME.<16 hex digits>.tmp"), and those of earlier versions
// (".NAME.<process id>.tmp").
bool isWriterTemporary(std::string_view fileName);
// Removes the temporaries an interrupted write left in folder.
void removeWriterTemporaries(const std::filesystem::path &folder);

} // namespace lark
