#include "platform/TStream.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "platform/TCharset.h"

TStream::~TStream() { Close(); }

std::shared_ptr<TStream> TStream::ReadFile(const std::string& path) {
    if (FileType(path) != FILETYPE_FILE) return nullptr;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    std::shared_ptr<TStream> s(new TStream());
    s->file = f;
    return s;
}

std::shared_ptr<TStream> TStream::WriteFile(const std::string& path) {
    if (FileType(path) == FILETYPE_DIR) return nullptr;
    const std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return nullptr;
    std::shared_ptr<TStream> s(new TStream());
    s->file = f;
    s->writing = true;
    s->targetPath = path;
    s->tempPath = temp;
    return s;
}

std::string TStream::ReadLine() {
    std::string bytes;
    if (!file) return bytes;
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        if (c == '\n') break;
        if (c == '\r') continue;
        bytes.push_back(static_cast<char>(c));
    }
    return TCharset::Latin1ToUtf8(bytes);
}

bool TStream::WriteLine(const std::string& text) { return WriteString(TCharset::Utf8ToLatin1(text) + "\r\n"); }

size_t TStream::Read(void* buffer, size_t count) {
    if (!file || count == 0) return 0;
    return std::fread(buffer, 1, count, file);
}

bool TStream::Write(const void* buffer, size_t count) {
    if (!file || !writing) return false;
    if (count > 0 && std::fwrite(buffer, 1, count, file) != count) failed = true;
    return !failed;
}

std::string TStream::ReadAll() {
    std::string out;
    if (!file) return out;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, file)) > 0) out.append(buf, n);
    return out;
}

bool TStream::Eof() {
    if (!file) return true;
    const int c = std::fgetc(file);
    if (c == EOF) return true;
    std::ungetc(c, file);
    return false;
}

int64_t TStream::Size() {
    if (!file) return 0;
    const long pos = std::ftell(file);
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, pos, SEEK_SET);
    return size;
}

bool TStream::Close() {
    if (!file) return !failed;
    if (!writing) {
        std::fclose(file);
        file = nullptr;
        return true;
    }
    if (std::fflush(file) != 0 || std::ferror(file)) failed = true;
    if (std::fclose(file) != 0) failed = true;
    file = nullptr;
    if (!failed && std::rename(tempPath.c_str(), targetPath.c_str()) != 0) failed = true;
    if (failed) std::remove(tempPath.c_str());
    return !failed;
}

void TStream::Discard() {
    if (writing) failed = true;
    Close();
}

std::vector<std::string> ReadDir(const std::string& path) {
    std::vector<std::string> out;
    std::error_code ec;
    std::filesystem::directory_iterator it(path.empty() ? "." : path, ec);
    if (ec) return out;
    out.push_back(".");
    out.push_back("..");
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        out.push_back(it->path().filename().string());
    }
    return out;
}

int FileType(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return FILETYPE_NONE;
    if (S_ISDIR(st.st_mode)) return FILETYPE_DIR;
    if (S_ISREG(st.st_mode)) return FILETYPE_FILE;
    return FILETYPE_NONE;
}

bool CreateDir(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return FileType(path) == FILETYPE_DIR;
}

int64_t FileTime(const std::string& path) {
    if (FileType(path) != FILETYPE_FILE) return -1;
    std::error_code ec;
    const auto t = std::filesystem::last_write_time(path, ec);
    if (ec) return -1;
    // Counted from 1970 (the file clock's own epoch may lie in the future), so a file's time is never −1.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::file_clock::to_sys(t).time_since_epoch())
        .count();
}

bool RenameFile(const std::string& from, const std::string& to) {
    // Files only: a folder of the same name is never replaced or moved.
    if (FileType(from) != FILETYPE_FILE || FileType(to) == FILETYPE_DIR) return false;
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

bool LoadBytes(const std::string& path, std::string& out) {
    std::shared_ptr<TStream> s = TStream::ReadFile(path);
    if (!s) return false;
    out = s->ReadAll();
    return true;
}

bool CopyFile(const std::string& from, const std::string& to) {
    std::string bytes;
    if (!LoadBytes(from, bytes)) return false;
    std::shared_ptr<TStream> out = TStream::WriteFile(to);
    if (!out) return false;
    if (!out->WriteString(bytes)) {
        out->Discard();
        return false;
    }
    return out->Close();
}

void Print(const std::string& line) {
    std::cout << line << '\n';
    std::cout.flush();
}
