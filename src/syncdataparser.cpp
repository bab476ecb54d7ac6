#include "syncdataparser.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace
{
// Walks the file's item lines: comments and empty lines are skipped, the
// line end (a line feed, then a carriage return before it) is removed.
class LineSource
{
public:
    explicit LineSource(const std::string& text)
        : m_text(text)
        , m_position(0)
        , m_line(0)
    {
    }

    // The next item line; false at the end of the text or for an over-long line.
    bool next(std::string& line, std::string& problem)
    {
        while (m_position < m_text.size()) {
            std::size_t end = m_text.find('\n', m_position);
            const std::size_t next = end == std::string::npos ? m_text.size() : end + 1;
            ++m_line;
            const char first = m_text[m_position];
            if (first == '#' || first == '\n' || first == '\r') {
                m_position = next;
                continue;
            }
            // A longer line would be split into two item lines: refused instead.
            if (next - m_position > SyncDataParser::MAX_LINE_LENGTH) {
                problem = "longer than " + std::to_string(SyncDataParser::MAX_LINE_LENGTH) + " bytes";
                return false;
            }
            line.assign(m_text, m_position, next - m_position);
            m_position = next;
            if (!line.empty() && line.back() == '\n')
                line.pop_back();
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        return false;
    }

    int lineNumber() const { return m_line; }

private:
    const std::string& m_text;
    std::size_t m_position;
    int m_line;
};

// Lenient numbers: leading white space, then as much of a number as there is; 0 if none.
int32_t readInteger(const std::string& field)
{
    const long value = std::strtol(field.c_str(), nullptr, 10);
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

double readReal(const std::string& field)
{
    return std::strtod(field.c_str(), nullptr);
}

// Toward zero, saturating at the 32-bit limits; NaN gives 0.
int32_t truncateToInteger(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return int32_t(value);
}

std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ':')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

class Reader
{
public:
    Reader(const std::string& text, SyncData& data)
        : m_lines(text)
        , m_data(data)
    {
    }

    std::string run()
    {
        std::size_t count = 0;
        if (!readCount("sprites", count))
            return m_problem;
        for (std::size_t i = 0; i < count; ++i) {
            if (!readItem("sprite name", i, count))
                return m_problem;
            m_data.spriteNames.push_back(m_line);
        }

        std::size_t trackCount = 0;
        if (!readCount("tracks", trackCount))
            return m_problem;
        for (std::size_t t = 0; t < trackCount; ++t) {
            std::size_t keyCount = 0;
            if (!readCount("keys of track " + std::to_string(t), keyCount))
                return m_problem;
            std::vector<SyncData::KeyTemplate> keys;
            for (std::size_t k = 0; k < keyCount; ++k) {
                if (!readFields("key", k, keyCount, 3, "sprite:param:offset"))
                    return m_problem;
                std::size_t sprite = 0;
                if (!readIndex(m_fields[0], m_data.spriteNames.size(), "sprite", sprite))
                    return m_problem;
                keys.push_back({sprite, readInteger(m_fields[1]), float(readReal(m_fields[2]))});
            }
            m_data.tracks.push_back(keys);
        }

        if (!readCount("events", count))
            return m_problem;
        for (std::size_t i = 0; i < count; ++i) {
            if (!readFields("event", i, count, 3, "track:value:time"))
                return m_problem;
            std::size_t track = 0;
            if (!readIndex(m_fields[0], m_data.tracks.size(), "track", track))
                return m_problem;
            m_data.events.push_back(
                {track, truncateToInteger(readReal(m_fields[1])), float(readReal(m_fields[2]))});
        }

        if (!readCount("values", count))
            return m_problem;
        for (std::size_t i = 0; i < count; ++i) {
            if (!readFields("value", i, count, 2, "value:time"))
                return m_problem;
            m_data.values.push_back({float(readReal(m_fields[1])), readInteger(m_fields[0])});
        }

        if (!readCount("colours", count))
            return m_problem;
        for (std::size_t i = 0; i < count; ++i) {
            if (!readFields("colour", i, count, 5, "channel:time:red:green:blue"))
                return m_problem;
            std::size_t channel = 0;
            if (!readIndex(m_fields[0], SyncData::CHANNELS, "channel", channel))
                return m_problem;
            m_data.colors[channel].push_back({readInteger(m_fields[2]) / 255.0f, readInteger(m_fields[3]) / 255.0f,
                                             readInteger(m_fields[4]) / 255.0f, float(readReal(m_fields[1]))});
        }
        return std::string();
    }

private:
    bool fail(const std::string& what)
    {
        m_problem = "line " + std::to_string(m_lines.lineNumber()) + ": " + what;
        return false;
    }

    // A missing line is reported at the line after the last one.
    bool nextLine(const std::string& expected)
    {
        std::string longLine;
        if (m_lines.next(m_line, longLine))
            return true;
        if (!longLine.empty())
            return fail(longLine);
        m_problem = "line " + std::to_string(m_lines.lineNumber() + 1) + ": the file ends where " + expected +
                    " should follow";
        return false;
    }

    bool readCount(const std::string& what, std::size_t& count)
    {
        if (!nextLine("the count of " + what))
            return false;
        const int32_t value = readInteger(m_line);
        if (value < 0)
            return fail("negative count of " + what + " (" + std::to_string(value) + ")");
        count = std::size_t(value);
        return true;
    }

    bool readItem(const std::string& what, std::size_t index, std::size_t count)
    {
        return nextLine(what + " " + std::to_string(index + 1) + " of " + std::to_string(count));
    }

    bool readFields(const std::string& what, std::size_t index, std::size_t count, std::size_t needed,
                    const char* form)
    {
        if (!readItem(what, index, count))
            return false;
        m_fields = splitFields(m_line);
        if (m_fields.size() < needed)
            return fail(what + " line needs " + std::to_string(needed) + " fields " + form + ", found " +
                        std::to_string(m_fields.size()));
        return true;
    }

    bool readIndex(const std::string& field, std::size_t size, const char* what, std::size_t& index)
    {
        const int32_t value = readInteger(field);
        if (value < 0 || std::size_t(value) >= size)
            return fail(std::string(what) + " " + std::to_string(value) + " is outside 0-" +
                        (size == 0 ? std::string("(none)") : std::to_string(size - 1)));
        index = std::size_t(value);
        return true;
    }

    LineSource m_lines;
    SyncData& m_data;
    std::string m_line;
    std::vector<std::string> m_fields;
    std::string m_problem;
};
}

std::string SyncDataParser::parse(const std::string& text, SyncData& data)
{
    return Reader(text, data).run();
}
