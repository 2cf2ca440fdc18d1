#include "mkmedium/checker.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <system_error>
#include <vector>

#include "mkmedium/cp932.h"
#include "mkmedium/description.h"
#include "mkmedium/diskfiles.h"
#include "mkmedium/listfields.h"
#include "mkmedium/names.h"
#include "mkmedium/settingstext.h"
#include "mkmedium/szdd.h"

namespace fs = std::filesystem;

namespace {

class MediumChecker {
public:
    MediumChecker(const fs::path& medium, Console& console) : m_medium(medium), m_console(console) {}
    int Run();

private:
    void Fault(const std::string& text)
    {
        m_console.Problem(text);
        ++m_faults;
    }
    bool FindDisks();
    void CheckSection(const char* section, const std::vector<SettingsLine>& lines);
    void CheckEntry(const std::string& where, const std::string& value);
    void CheckStoredFile(const std::string& where, const fs::path& file, bool compressed);

    fs::path m_medium;
    Console& m_console;
    std::map<int, fs::path> m_disks;
    std::string m_listShown;
    int m_faults = 0;
    int m_entries = 0;
    int m_sections = 0;
};

int MediumChecker::Run()
{
    fs::path list, setup;
    if (!FindDisks() || !FindFileNoCase(m_disks[1], "SETUP.LST", &list)) {
        Fault(ShowPath(m_medium) + ": no SETUP.LST, neither there nor in a folder DISK1");
        return 1;
    }
    m_listShown = ShowPath(list);
    if (!FindFileNoCase(m_disks[1], "SETUP.EXE", &setup))
        Fault(ShowPath(m_disks[1]) + ": no SETUP.EXE");
    Bytes bytes;
    ReadWholeFile(list, &bytes);
    std::string text(bytes.begin(), bytes.end());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            Fault(m_listShown + ": a line ends in LF alone; the setup ends lines only at CR LF");
            break;
        }
    }
    std::vector<SettingsLine> lines = SplitSettingsText(text, false);
    for (const char* section : LIST_SECTIONS)
        CheckSection(section, lines);
    m_console.Say(m_listShown + ": " + std::to_string(m_entries) + " entries in " + std::to_string(m_sections) +
                  " sections, " + std::to_string(m_disks.size()) + (m_disks.size() > 1 ? " disks: " : " disk: ") +
                  (m_faults ? std::to_string(m_faults) + (m_faults > 1 ? " faults" : " fault") : "sound"));
    return m_faults ? 1 : 0;
}

bool MediumChecker::FindDisks()
{
    std::error_code error;
    fs::path list;
    if (FindFileNoCase(m_medium, "SETUP.LST", &list)) {
        m_disks[1] = m_medium;
        return true;
    }
    for (fs::directory_iterator it(m_medium, error), end; !error && it != end; it.increment(error)) {
        std::string name = FoldNameCase(it->path().filename().u8string());
        if (it->is_directory() && name.size() > 4 && name.size() < 8 && name.compare(0, 4, "DISK") == 0 &&
            name.find_first_not_of("0123456789", 4) == std::string::npos)
            m_disks[std::stoi(name.substr(4))] = it->path();
    }
    if (!m_disks.count(1))
        return false;
    for (int disk = 2; disk < m_disks.rbegin()->first; ++disk)
        if (!m_disks.count(disk))
            Fault(ShowPath(m_medium) + ": no DISK" + std::to_string(disk) + ", though there is a DISK" +
                  std::to_string(m_disks.rbegin()->first));
    return true;
}

// As the setup reads a section: its first header, then the keys up to the
// next line that starts with "["; a key's value is that of its first line.
void MediumChecker::CheckSection(const char* section, const std::vector<SettingsLine>& lines)
{
    size_t header = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != SettingsLine::SECTION || lines[i].fOpenHeader || !SameName(lines[i].name, section))
            continue;
        if (header == lines.size())
            header = i;
        else
            Fault(m_listShown + ":" + std::to_string(lines[i].number) + ": [" + section + "] again; the setup reads only the one at line " +
                  std::to_string(lines[header].number));
    }
    if (header == lines.size())
        return;
    ++m_sections;
    std::map<std::string, int> keys;
    for (size_t i = header + 1; i < lines.size() && lines[i].kind != SettingsLine::SECTION; ++i) {
        const SettingsLine& line = lines[i];
        if (line.kind != SettingsLine::KEY)
            continue;
        std::string where = m_listShown + ":" + std::to_string(line.number) + ": [" + section + "] " + ShowCp932(line.name);
        auto first = keys.emplace(FoldNameCase(line.name), line.number);
        if (first.second)
            CheckEntry(where, line.value);
        else
            Fault(where + ": the key of line " + std::to_string(first.first->second) +
                  " again; the setup would process that line twice and this one never");
    }
}

void MediumChecker::CheckEntry(const std::string& where, const std::string& value)
{
    if (value.find_first_not_of(' ') == std::string::npos)
        return;  // the setup skips a blank value
    ++m_entries;
    std::vector<std::string> fields = SplitListFields(value, LIST_FIELD_COUNT);
    if (fields[2].find_first_not_of(' ') == std::string::npos)
        return;  // deletes its target
    long disk = ListFieldNumber(fields[0]);
    bool compressed = ListFieldNumber(fields[1]) != 0;
    std::string source = ShowCp932(fields[2]);
    fs::path relative;
    if (!PathFromCp932(fields[2], &relative))
        return Fault(where + ": the source " + source + " is not code page 932");
    std::vector<int> onDisks;
    std::vector<fs::path> found;
    for (const auto& disk : m_disks) {
        fs::path file;
        if (FindFileNoCase(disk.second, relative, &file)) {
            onDisks.push_back(disk.first);
            found.push_back(file);
        }
    }
    if (found.empty())
        return Fault(where + ": " + source + " is on no disk");
    auto declared = std::find(onDisks.begin(), onDisks.end(), disk);
    if (disk > 0 && declared == onDisks.end())
        Fault(where + ": " + source + " is on disk " + std::to_string(onDisks[0]) + ", but the list says disk " +
              std::to_string(disk));
    Bytes first, other;
    ReadWholeFile(found[0], &first);
    for (size_t i = 1; i < found.size(); ++i) {
        if (ReadWholeFile(found[i], &other) && other != first) {
            Fault(where + ": " + source + " differs between disks " + std::to_string(onDisks[0]) + " and " +
                  std::to_string(onDisks[i]) + "; the setup takes it from whichever disk is in the drive");
            break;
        }
    }
    CheckStoredFile(where + ": " + source, declared == onDisks.end() ? found[0] : found[declared - onDisks.begin()],
                    compressed);
}

void MediumChecker::CheckStoredFile(const std::string& where, const fs::path& file, bool compressed)
{
    Bytes bytes;
    if (!ReadWholeFile(file, &bytes))
        return Fault(where + " cannot be read");
    if (!HasSzddMagic(bytes)) {
        // LZ32 reads a file without the magic as it is; only a header cut
        // inside its magic is surely damage.
        static const char magic[] = "SZDD\x88\xF0\x27\x33";
        if (compressed && !bytes.empty() && bytes.size() < 8 && std::memcmp(bytes.data(), magic, bytes.size()) == 0)
            Fault(where + " is cut short inside its compression header");
        return;
    }
    if (!compressed)
        return Fault(where + " is compressed, but the list says plain: the setup would install it compressed");
    SzddExpansion expansion = SzddExpand(bytes, nullptr);
    if (expansion.status == SZDD_SHORT_HEADER)
        Fault(where + " is cut short inside its compression header");
    else if (expansion.status == SZDD_UNKNOWN_MODE)
        Fault(where + " has a compression mode that the LZ expander does not know");
    else if (expansion.status == SZDD_WRONG_LENGTH)
        Fault(where + " expands to " + GroupDigits(expansion.produced) + " bytes, but its header says " +
              GroupDigits(expansion.declared) + (expansion.produced < expansion.declared ? ": it is cut short or damaged" : ""));
}

}  // namespace

int CheckMedium(const fs::path& medium, Console& console)
{
    return MediumChecker(medium, console).Run();
}
