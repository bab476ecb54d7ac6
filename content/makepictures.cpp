// Content generator: paints the demo's pictures and writes its sprite
// metadata files into an output folder, one group per run so the build can
// run the groups side by side, and joins the groups' file lists into the list
// file that the archive tool packs.
//
//   makepictures OUTDIR screens|loading|sprites   writes OUTDIR/<group>.files
//   makepictures OUTDIR list LISTFILE GROUP...     writes the archive list
#include "animations.h"
#include "loadingpictures.h"
#include "monitorwall.h"
#include "screenlayouts.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
bool makeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

bool saveAll(const std::string& outDir, const std::string& group, const std::vector<std::string>& names)
{
    std::ofstream out(outDir + "/" + group + ".files", std::ios::binary);
    for (const std::string& n : names)
        out << n << "\n";
    return static_cast<bool>(out);
}

bool writeScreens(const std::string& outDir, std::vector<std::string>& names)
{
    if (!makeFolder(outDir + "/screen"))
        return false;
    for (const ScreenLayouts::Layout& layout : ScreenLayouts::LAYOUTS)
    {
        Canvas canvas = MonitorWall(layout).paint(ScreenLayouts::OVERLAY_WIDTH, ScreenLayouts::OVERLAY_HEIGHT, nullptr);
        if (!canvas.savePng(outDir + "/" + layout.overlay, true))
            return false;
        names.push_back(layout.overlay);
    }
    return true;
}

bool writeLoading(const std::string& outDir, std::vector<std::string>& names)
{
    if (!makeFolder(outDir + "/loadingscreen"))
        return false;
    const int W = 1920, H = 1080;
    struct Picture
    {
        const char* name;
        Canvas canvas;
    } pictures[] = {{"loadingscreen/img_off.png", LoadingPictures::off(W, H)},
                    {"loadingscreen/img_on.png", LoadingPictures::on(W, H)},
                    {"loadingscreen/mask.png", LoadingPictures::mask(W, H)}};
    for (const Picture& p : pictures)
    {
        if (!p.canvas.savePng(outDir + "/" + p.name, false))
            return false;
        names.push_back(p.name);
    }
    return true;
}

bool writeSprites(const std::string& outDir, std::vector<std::string>& names)
{
    if (!makeFolder(outDir + "/sprites"))
        return false;
    for (const Animation& a : Animations::all())
    {
        std::vector<std::string> written = a.sheet.write(outDir, a.painter);
        if (written.empty())
            return false;
        names.insert(names.end(), written.begin(), written.end());
    }
    return true;
}

// The archive tool's list: the entry count, then one path per line, with no
// empty line anywhere (an empty line would name an empty path).
bool writeList(const std::string& outDir, const std::string& listFile, const std::vector<std::string>& groups)
{
    std::vector<std::string> paths;
    for (const std::string& g : groups)
    {
        std::ifstream in(outDir + "/" + g + ".files");
        if (!in)
            return false;
        std::string line;
        while (std::getline(in, line))
            if (!line.empty())
                paths.push_back(line);
    }
    std::ofstream out(listFile, std::ios::binary);
    out << paths.size();
    for (const std::string& p : paths)
        out << "\n" << p;
    return static_cast<bool>(out);
}
}

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: makepictures OUTDIR screens|loading|sprites\n"
                             "       makepictures OUTDIR list LISTFILE GROUP...\n");
        return 2;
    }
    std::string outDir = argv[1], group = argv[2];
    if (!makeFolder(outDir))
    {
        std::fprintf(stderr, "makepictures: cannot create %s\n", outDir.c_str());
        return 1;
    }
    if (group == "list" && argc >= 5)
        return writeList(outDir, argv[3], std::vector<std::string>(argv + 4, argv + argc)) ? 0 : 1;

    std::vector<std::string> names;
    bool ok = false;
    if (group == "screens")
        ok = writeScreens(outDir, names);
    else if (group == "loading")
        ok = writeLoading(outDir, names);
    else if (group == "sprites")
        ok = writeSprites(outDir, names);
    else
    {
        std::fprintf(stderr, "makepictures: unknown group %s\n", group.c_str());
        return 2;
    }
    if (!ok || !saveAll(outDir, group, names))
    {
        std::fprintf(stderr, "makepictures: writing group %s into %s failed\n", group.c_str(), outDir.c_str());
        return 1;
    }
    return 0;
}
