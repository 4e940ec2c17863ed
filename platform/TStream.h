#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// A file opened as a byte stream, for reading or for writing.
// A stream opened for writing goes to a temporary file beside the target and replaces
// the target only when Close() finds every write succeeded, so a failed write never
// leaves a truncated file behind.
class TStream {
public:
    ~TStream();
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    static std::shared_ptr<TStream> ReadFile(const std::string& path);
    static std::shared_ptr<TStream> WriteFile(const std::string& path);

    // One line: bytes up to LF (not included), every CR dropped, each byte one character.
    std::string ReadLine();
    // Writes the text as 8-bit characters followed by CR LF.
    bool WriteLine(const std::string& text);
    size_t Read(void* buffer, size_t count);
    bool Write(const void* buffer, size_t count);
    bool WriteString(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    // Reads everything from the current position on.
    std::string ReadAll();
    bool Eof();
    int64_t Size();
    // Finishes the stream. For a write stream: true when the file now holds everything written.
    bool Close();
    // Abandons a write stream: the target file stays as it was.
    void Discard();
    bool Failed() const { return failed; }

private:
    TStream() = default;
    FILE* file = nullptr;
    bool writing = false;
    bool failed = false;
    std::string targetPath;
    std::string tempPath;
};

enum { FILETYPE_NONE = 0, FILETYPE_FILE = 1, FILETYPE_DIR = 2 };

// Entries of a folder including "." and ".."; empty when the folder cannot be read.
std::vector<std::string> ReadDir(const std::string& path);
int FileType(const std::string& path);
bool CreateDir(const std::string& path);
// When the file was last written, in nanoseconds (only for comparing); -1 when there is no file.
int64_t FileTime(const std::string& path);
// Gives a file a new name, replacing a file of that name; false (nothing moved) when it cannot.
bool RenameFile(const std::string& from, const std::string& to);
// Whole file as raw bytes; false when it cannot be read.
bool LoadBytes(const std::string& path, std::string& out);
// Writes a copy of a file's bytes (through a temporary file); false when it cannot be read or written.
bool CopyFile(const std::string& from, const std::string& to);
// One line on standard output.
void Print(const std::string& line);
