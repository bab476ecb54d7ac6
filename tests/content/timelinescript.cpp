#include "timelinescript.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{
std::vector<std::string> wordsOf(std::string line)
{
    size_t hash = line.find('#');
    if (hash != std::string::npos)
        line.erase(hash);
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

// Times are read as decimal numbers and kept to single precision, as the
// demo's parser keeps them.
double timeOf(const std::string& word) { return static_cast<double>(static_cast<float>(std::strtod(word.c_str(), nullptr))); }
}

int TimelineScript::assetIndex(const std::string& name) const
{
    for (size_t i = 0; i < assets.size(); ++i)
        if (assets[i].name == name)
            return static_cast<int>(i);
    return -1;
}

const std::string& TimelineScript::typeOf(const std::string& event, size_t position) const
{
    static const std::string none;
    auto it = eventTypes.find(event);
    return it == eventTypes.end() || position >= it->second.size() ? none : it->second[position];
}

bool TimelineScript::load(const std::string& path, std::string& why)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        why = "cannot open " + path;
        return false;
    }
    std::string raw;
    std::getline(in, raw, '\0');
    if (!raw.empty() && raw.back() != '\n')
        problems.push_back("the last line has no line feed and would be lost");

    enum Section { NONE, ASSETS, EVENT, PATTERN, GLOBAL } section = NONE;
    std::string sectionName;
    std::istringstream lines(raw);
    std::string line;
    int number = 0;
    auto problem = [&](const std::string& text) { problems.push_back("line " + std::to_string(number) + ": " + text); };
    auto checkArity = [&](const std::string& name, size_t given) {
        auto it = eventTypes.find(name);
        if (it == eventTypes.end())
            problem("event " + name + " is not declared before its use");
        else if (given != it->second.size())
            problem("event " + name + " takes " + std::to_string(it->second.size()) + " arguments, given " +
                    std::to_string(given));
    };
    while (std::getline(lines, line))
    {
        ++number;
        if (line.size() > 254)
            problem("longer than 254 bytes");
        if (!line.empty() && line.back() == '\r')
            problem("carriage return at the end");
        std::vector<std::string> w = wordsOf(line);
        if (w.empty())
            continue;
        if (section == NONE)
        {
            if (w[0] != "begin")
                continue;
            if (w.size() >= 2 && w[1] == "assets")
                section = ASSETS;
            else if (w.size() >= 2 && w[1] == "global")
                section = GLOBAL;
            else if (w.size() >= 3 && (w[1] == "event" || w[1] == "pattern"))
            {
                section = w[1] == "event" ? EVENT : PATTERN;
                sectionName = w[2];
                if (section == EVENT)
                    eventTypes[sectionName].clear();
                else
                    m_patterns[sectionName].clear();
            }
            else
                problem("a section opening the reader does not know");
            continue;
        }
        if (w[0] == "end")
        {
            section = NONE;
            continue;
        }
        switch (section)
        {
        case ASSETS:
            if (w.size() < 3)
                problem("asset line with fewer than three words");
            else
                assets.push_back({w[0], w[1], w[2]});
            break;
        case EVENT:
            eventTypes[sectionName].push_back(w[0]);
            break;
        case PATTERN:
            if (w.size() < 2)
            {
                problem("pattern line without an event name");
                break;
            }
            checkArity(w[1], w.size() - 2);
            m_patterns[sectionName].push_back({std::strtod(w[0].c_str(), nullptr), w[1], {w.begin() + 2, w.end()}});
            break;
        case GLOBAL:
        {
            if (w.size() < 3)
            {
                problem("timeline line with fewer than three words");
                break;
            }
            double t = timeOf(w[0]);
            std::vector<std::string> args(w.begin() + 3, w.end());
            if (w[1] == "event")
            {
                checkArity(w[2], args.size());
                events.push_back({t, w[2], args, number, t});
            }
            else if (w[1] == "pattern")
            {
                auto it = m_patterns.find(w[2]);
                if (it == m_patterns.end())
                {
                    problem("pattern " + w[2] + " is not defined before its use");
                    break;
                }
                std::vector<bool> used(args.size(), false);
                for (const PatternEvent& p : it->second)
                {
                    ScriptEvent e{t + p.time, p.name, p.words, number, t};
                    for (std::string& word : e.args)
                        if (!word.empty() && word[0] == '{')
                        {
                            size_t n = word.size() > 1 && word[1] >= '0' && word[1] <= '9' ? word[1] - '0' : 0;
                            if (n >= args.size())
                            {
                                problem("placeholder " + word + " of pattern " + w[2] + " has no argument");
                                word.clear();
                            }
                            else
                            {
                                word = args[n];
                                used[n] = true;
                            }
                        }
                    events.push_back(e);
                }
                for (size_t i = 0; i < used.size(); ++i)
                    if (!used[i])
                        problem("argument " + std::to_string(i) + " of pattern " + w[2] + " is not used");
            }
            else
                problem("timeline line of unknown kind " + w[1]);
            break;
        }
        default:
            break;
        }
    }
    if (section != NONE)
        problems.push_back("the script ends inside a section");
    return true;
}
