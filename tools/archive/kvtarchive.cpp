// kvtarchive: the authors' tool for pack files. "build" packs the files of a
// list (run it in the folder the listed paths are relative to), "list" shows
// what a pack holds, "extract" unpacks it into a folder.
#include "dd/archive.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <sys/stat.h>

namespace
{
const char* const USAGE =
    "usage: kvtarchive build LIST PACK    pack the files named in LIST into PACK\n"
    "       kvtarchive list PACK          show each entry's size and name\n"
    "       kvtarchive extract PACK DIR   write every entry to DIR/<entry name>\n"
    "LIST holds the number of entries on its first line, then one path a line;\n"
    "each path becomes its entry's name.\n";

int usage()
{
    std::fputs(USAGE, stderr);
    return 2;
}

// Creates every missing folder of path (all of it when it names a folder).
bool makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// Entry names come from the pack's bytes: one that is empty, absolute or
// climbs out with ".." must not write outside the target folder.
bool staysInside(const std::string& name)
{
    if (name.empty() || name[0] == '/')
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos)
            end = name.size();
        const std::string part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

int listPack(const char* packPath)
{
    DD::Archive archive(packPath);
    unsigned long long total = 0;
    for (uint32_t i = 0; i < archive.getNumFiles(); ++i) {
        const DD::Archive::File* file = archive.getFile(i);
        std::printf("%10u  %s\n", file->m_size, file->m_name);
        total += file->m_size;
    }
    std::printf("%u entries, %llu bytes\n", archive.getNumFiles(), total);
    return 0;
}

int extractPack(const char* packPath, const std::string& folder)
{
    DD::Archive archive(packPath);
    // Checked before anything is written, so a hostile pack writes nothing.
    for (uint32_t i = 0; i < archive.getNumFiles(); ++i) {
        const char* name = archive.getFile(i)->m_name;
        if (!staysInside(name)) {
            std::fprintf(stderr, "kvtarchive: entry %u has the name \"%s\", which would write outside %s\n", i + 1,
                         name, folder.c_str());
            return 1;
        }
    }
    if (!makeFolders(folder)) {
        std::fprintf(stderr, "kvtarchive: cannot create folder %s: %s\n", folder.c_str(), std::strerror(errno));
        return 1;
    }

    std::set<std::string> written;
    for (uint32_t i = 0; i < archive.getNumFiles(); ++i) {
        const DD::Archive::File* file = archive.getFile(i);
        const std::string name = file->m_name;
        // The demo reads the first entry of a name, so that is the one kept.
        if (!written.insert(name).second) {
            std::fprintf(stderr, "kvtarchive: skipped entry %u, a later copy of \"%s\"\n", i + 1, name.c_str());
            continue;
        }
        const std::string path = folder + "/" + name;
        const size_t slash = path.rfind('/');
        FILE* out = makeFolders(path.substr(0, slash)) ? std::fopen(path.c_str(), "wb") : 0;
        bool ok = out != 0;
        if (ok && file->m_size > 0)
            ok = std::fwrite(file->m_data, 1, file->m_size, out) == file->m_size;
        if (out != 0 && std::fclose(out) != 0)
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "kvtarchive: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
}

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "build" && argc == 4) {
        DD::Archive::build(argv[2], argv[3]);
        return 0;
    }
    if (command == "list" && argc == 3)
        return listPack(argv[2]);
    if (command == "extract" && argc == 4)
        return extractPack(argv[2], argv[3]);
    return usage();
}
