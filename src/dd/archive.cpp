#include "dd/archive.h"

#include "base/assert.h"
#include "dd/packlayout.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace DD
{
Archive* Archive::ms_archive = 0;

namespace
{
// The name field keeps one byte for the NUL that ends the name.
const size_t LONGEST_NAME = PackLayout::NAME_FIELD_SIZE - 1;
const uint64_t LARGEST_ENTRY = 0xFFFFFFFFu;

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// A folder opens for reading on this platform too, but has no bytes to give;
// only regular files count as files here.
FILE* openRegularFile(const char* path)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return 0;
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return 0;
    }
    return file;
}

// Reads an open regular file whole; false when it could not be read to its end.
bool readWhole(FILE* file, std::vector<unsigned char>& bytes)
{
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || info.st_size < 0)
        return false;
    bytes.resize(static_cast<size_t>(info.st_size));
    return std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

Archive::File* newEntry(const char* name, size_t nameLength, const unsigned char* data, uint32_t size)
{
    Archive::File* file = new Archive::File;
    std::memcpy(file->m_name, name, nameLength);
    file->m_size = size;
    file->m_data = new unsigned char[size];
    if (size > 0)
        std::memcpy(file->m_data, data, size);
    return file;
}

// Lines end at a line feed, which is not part of them; a final line feed
// ends the last line rather than starting an empty one.
bool readListLines(const char* listFile, std::vector<std::string>& lines)
{
    FILE* list = openRegularFile(listFile);
    if (!list)
        return false;
    std::vector<unsigned char> bytes;
    const bool complete = readWhole(list, bytes);
    std::fclose(list);
    if (!complete)
        return false;
    std::string line;
    for (unsigned char byte : bytes) {
        if (byte == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(static_cast<char>(byte));
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return true;
}

// Leading blanks, an optional sign and decimal digits, up to the first other
// character; no digits give 0. Large values stop growing, since any count
// beyond the list's own length is reported as a mismatch anyway.
long long parseCount(const std::string& line)
{
    size_t at = 0;
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at])))
        ++at;
    bool negative = false;
    if (at < line.size() && (line[at] == '+' || line[at] == '-'))
        negative = line[at++] == '-';
    long long value = 0;
    for (; at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])); ++at) {
        if (value < 100000000000LL)
            value = value * 10 + (line[at] - '0');
    }
    return negative ? -value : value;
}

// The pack appears under its own name only once it is complete; this keeps
// the target's permissions, or gives a new one the usual ones.
void givePackMode(int descriptor, const char* archiveFile)
{
    struct stat target;
    if (stat(archiveFile, &target) == 0) {
        fchmod(descriptor, target.st_mode & 07777);
        return;
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
}

void discardPack(FILE* pack, const std::string& temporaryPath)
{
    std::fclose(pack);
    std::remove(temporaryPath.c_str());
}

bool writeBytes(FILE* pack, const unsigned char* bytes, size_t size)
{
    return size == 0 || std::fwrite(bytes, 1, size, pack) == size;
}
}

Archive::File::File()
    : m_stream(0)
    , m_size(0)
    , m_data(0)
{
    std::memset(m_name, 0, sizeof m_name);
}

Archive::File::~File()
{
    delete m_stream;
    delete[] m_data;
}

std::istringstream* Archive::File::getStream()
{
    if (m_stream == 0) {
        std::string text;
        if (m_data != 0) {
            const void* nul = std::memchr(m_data, 0, m_size);
            const size_t length = nul ? static_cast<const unsigned char*>(nul) - m_data : m_size;
            text.assign(reinterpret_cast<const char*>(m_data), length);
        }
        m_stream = new std::istringstream(text, std::ios::in);
    }
    return m_stream;
}

Archive::Archive(const char* path)
    : m_files(0)
    , m_nFiles(0)
{
    FATAL_ASSERT(ms_archive == 0, "An archive has already been created.");
    ms_archive = this;

    FILE* file = openRegularFile(path);
    if (file == 0)
        FATAL_ASSERT(0, ("Cannot open archive " + quoted(path)).c_str());

    std::vector<unsigned char> bytes;
    const bool packRead = readWhole(file, bytes);
    std::fclose(file);
    FATAL_ASSERT(packRead, ("Cannot read archive " + quoted(path) + " to its end.").c_str());

    // Every count and size is checked against the bytes really there before
    // anything is allocated for it.
    std::vector<PackLayout::Record> records;
    const std::string fault = PackLayout::parse(bytes.data(), bytes.size(), records);
    FATAL_ASSERT(fault.empty(), ("Archive " + quoted(path) + " is malformed: " + fault).c_str());

    m_nFiles = static_cast<uint32_t>(records.size());
    m_files = new File*[m_nFiles];
    for (uint32_t i = 0; i < m_nFiles; ++i) {
        const PackLayout::Record& record = records[i];
        m_files[i] = newEntry(reinterpret_cast<const char*>(&bytes[record.nameOffset]), PackLayout::NAME_FIELD_SIZE,
                              bytes.data() + record.dataOffset, record.size);
    }
}

Archive::~Archive()
{
    FATAL_ASSERT(ms_archive == this, "The ms_archive variable has been tampered with...");
    for (uint32_t i = 0; i < m_nFiles; ++i)
        delete m_files[i];
    delete[] m_files;
    // A lookup after shutdown then meets the "no archive" checks instead of
    // freed memory.
    ms_archive = 0;
}

uint32_t Archive::getNumFiles() const
{
    return m_nFiles;
}

Archive::File* Archive::getFile(uint32_t index)
{
    FATAL_ASSERT(index < m_nFiles, "Index out of bounds in archive.");
    return m_files[index];
}

Archive::File* Archive::getFile(const char* name)
{
    FILE* loose = openRegularFile(name);
    if (loose != 0) {
        const size_t nameLength = std::strlen(name);
        FATAL_ASSERT(nameLength <= LONGEST_NAME,
                     ("Cannot load file " + quoted(name) + ": an entry name holds at most 255 bytes.").c_str());
        std::vector<unsigned char> bytes;
        const bool looseRead = readWhole(loose, bytes);
        std::fclose(loose);
        FATAL_ASSERT(looseRead, ("Cannot read file " + quoted(name) + " to its end.").c_str());
        FATAL_ASSERT(bytes.size() <= LARGEST_ENTRY,
                     ("Cannot load file " + quoted(name) + ": an entry holds at most 4 GiB.").c_str());
        return newEntry(name, nameLength, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }

    for (uint32_t i = 0; i < m_nFiles; ++i) {
        if (std::strcmp(m_files[i]->m_name, name) == 0)
            return m_files[i];
    }
    FATAL_ASSERT(0, ("Cannot find specified file " + std::string(name)).c_str());
    return 0;
}

void Archive::build(const char* listFile, const char* archiveFile)
{
    const std::string pack = quoted(archiveFile);

    // The whole list is read and checked before anything is written, so a
    // bad list leaves an existing pack as it was.
    std::vector<std::string> lines;
    const bool listRead = readListLines(listFile, lines);
    FATAL_ASSERT(listRead, ("Cannot open archive list " + quoted(listFile) + "; " + pack + " is left as it was.").c_str());

    const long long declaredCount = lines.empty() ? 0 : parseCount(lines[0]);
    const long long pathCount = lines.empty() ? 0 : static_cast<long long>(lines.size()) - 1;
    FATAL_ASSERT(declaredCount == pathCount,
                 ("Archive list " + quoted(listFile) + " announces " + std::to_string(declaredCount) +
                  " entries on its first line but lists " + std::to_string(pathCount) + " paths; " + pack +
                  " is left as it was.")
                     .c_str());
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& path = lines[i];
        FATAL_ASSERT(path.size() <= LONGEST_NAME, ("Path " + quoted(path) + " in archive list " + quoted(listFile) +
                                                   " is longer than the 255 bytes an entry name holds.")
                                                      .c_str());
    }

    // Written beside the target, so that the final rename stays on one file
    // system and replaces the target in one step.
    std::string temporaryPath = std::string(archiveFile) + ".XXXXXX";
    const int descriptor = mkstemp(&temporaryPath[0]);
    FILE* packFile = descriptor >= 0 ? fdopen(descriptor, "wb") : 0;
    if (packFile == 0 && descriptor >= 0) {
        close(descriptor);
        std::remove(temporaryPath.c_str());
    }
    FATAL_ASSERT(packFile != 0, ("Cannot create archive " + pack + ": " + std::strerror(errno)).c_str());
    givePackMode(descriptor, archiveFile);

    unsigned char countField[4];
    PackLayout::writeUint32(countField, static_cast<uint32_t>(declaredCount));
    bool written = writeBytes(packFile, countField, sizeof countField);

    for (size_t i = 1; i < lines.size() && written; ++i) {
        const std::string& path = lines[i];
        FILE* f = openRegularFile(path.c_str());
        if (f == NULL)
            discardPack(packFile, temporaryPath);
        FATAL_ASSERT(f != NULL, ("Cannot find file " + quoted(path) + " to add to archive.").c_str());

        std::vector<unsigned char> content;
        const bool contentRead = readWhole(f, content) && content.size() <= LARGEST_ENTRY;
        std::fclose(f);
        if (!contentRead)
            discardPack(packFile, temporaryPath);
        FATAL_ASSERT(contentRead,
                     ("Cannot read file " + quoted(path) + " whole to add to archive (at most 4 GiB).").c_str());

        unsigned char header[PackLayout::RECORD_HEADER_SIZE] = {};
        std::memcpy(header, path.data(), path.size());
        PackLayout::writeUint32(header + PackLayout::NAME_FIELD_SIZE, static_cast<uint32_t>(content.size()));
        written = writeBytes(packFile, header, sizeof header) && writeBytes(packFile, content.data(), content.size());
    }

    written = written && std::fflush(packFile) == 0 && fsync(fileno(packFile)) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(packFile) == 0;
    const bool complete = written && closed && std::rename(temporaryPath.c_str(), archiveFile) == 0;
    if (!complete)
        std::remove(temporaryPath.c_str());
    FATAL_ASSERT(complete, ("Cannot write archive " + pack + ": " + std::strerror(written ? errno : writeError) +
                            "; it is left as it was.")
                               .c_str());
}
}
