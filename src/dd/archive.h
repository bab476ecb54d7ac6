// The demo's pack file, read whole at start-up, and the builder that writes
// packs from a list of loose files. Textures, the loading screen and sprites
// fetch entries by name through ms_archive; a loose file on disk wins.
#pragma once

#include <cstdint>
#include <sstream>

namespace DD
{
class Archive
{
public:
    // One entry: its name field as stored, its length and its bytes.
    class File
    {
    public:
        File();
        // Releases the content and the stream, so an entry built from a
        // loose file can be deleted by whoever asked for it.
        ~File();
        File(const File&) = delete;
        File& operator=(const File&) = delete;

        // The content up to its first NUL as a text stream, created on the
        // first call; later calls continue where the last reader stopped.
        std::istringstream* getStream();

        std::istringstream* m_stream;
        char m_name[256];
        uint32_t m_size;
        unsigned char* m_data;
    };

    explicit Archive(const char* path);
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    uint32_t getNumFiles() const;
    File* getFile(uint32_t index);
    // A loose file of that name (a fresh entry owned by the caller), else
    // the first packed entry of exactly that name. Never null.
    File* getFile(const char* name);

    // Packs the files named in listFile (count on line 1, one path a line)
    // into archiveFile. The target is replaced only by a complete pack.
    static void build(const char* listFile, const char* archiveFile);

    static Archive* ms_archive;

private:
    File** m_files;
    uint32_t m_nFiles;
};
}
