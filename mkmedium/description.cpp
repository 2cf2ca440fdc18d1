#include "mkmedium/description.h"

#include <map>
#include <system_error>

#include "mkmedium/cp932.h"
#include "mkmedium/diskfiles.h"
#include "mkmedium/listfields.h"
#include "mkmedium/names.h"
#include "mkmedium/settingstext.h"

namespace fs = std::filesystem;

const char* const LIST_SECTIONS[LIST_SECTION_COUNT] = {"Common", "Update", "Files", "Setting", "Sample", "Files2"};

static const char MEDIUM_SECTION[] = "Medium";
// Where the reader is, when not in a list section (an index >= 0).
enum { SECTION_MEDIUM = -1, SECTION_NONE = -2, SECTION_BAD = -3 };
static const char UTF8_BOM[] = "\xEF\xBB\xBF";

bool ParseDiskSize(const std::string& text, uint64_t* size)
{
    if (text == "1.44M" || text == "1.44m") {
        *size = 1457664;
        return true;
    }
    if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *size = std::stoull(text);
    return *size > 0;
}

namespace {

// Reads one description; its state is what the lines so far have set.
class DescriptionReader {
public:
    DescriptionReader(const fs::path& file, Description* description, std::vector<std::string>* problems)
        : m_file(file), m_description(description), m_problems(problems)
    {
        m_description->shownName = ShowPath(file);
    }

    void Read(std::string text);

private:
    void Problem(int line, const std::string& text)
    {
        m_problems->push_back(m_description->shownName + ":" + std::to_string(line) + ": " + text);
    }
    bool ToCp932(const SettingsLine& line, std::string* text);
    void Section(const SettingsLine& line);
    void MediumKey(const SettingsLine& line);
    void FileLine(int section, const SettingsLine& line);
    bool ReadSource(const SettingsLine& line, const std::string& sourceText, DescEntry* entry);

    fs::path m_file;
    Description* m_description;
    std::vector<std::string>* m_problems;
    bool m_fUtf8 = false;
    int m_section = SECTION_NONE;
    std::map<std::string, int> m_seenSections;  // folded name: its line
    std::map<std::string, int> m_targets;       // section, folded folder and name: the line
    fs::path m_sourceBase;
};

void DescriptionReader::Read(std::string text)
{
    bool bom = text.compare(0, 3, UTF8_BOM) == 0;
    if (bom)
        text.erase(0, 3);
    std::vector<SettingsLine> lines = SplitSettingsText(text, true);
    // The encoding is known before any name is read: its key is ASCII.
    m_fUtf8 = bom;
    int section = SECTION_NONE;
    for (const SettingsLine& line : lines) {
        if (line.kind == SettingsLine::SECTION)
            section = SameName(line.name, MEDIUM_SECTION) ? SECTION_MEDIUM : SECTION_NONE;
        if (section == SECTION_MEDIUM && line.kind == SettingsLine::KEY && SameName(TrimBlanks(line.name), "Encoding")) {
            std::string value = TrimBlanks(line.value);
            if (SameName(value, "UTF-8") && !bom)
                m_fUtf8 = true;
            else if (!SameName(value, bom ? "UTF-8" : "CP932"))
                Problem(line.number, bom ? "the file starts with a UTF-8 byte-order mark, so Encoding can only be UTF-8"
                                         : "Encoding is CP932 or UTF-8");
        }
    }
    m_sourceBase = m_file.parent_path();
    // The file lines are read after the whole [Medium] section, wherever
    // it stands.
    std::vector<std::pair<int, const SettingsLine*>> fileLines;
    for (const SettingsLine& line : lines) {
        if (line.kind == SettingsLine::SECTION)
            Section(line);
        else if (line.kind == SettingsLine::OTHER)
            Problem(line.number, "neither a [section], a target=source line nor a ;comment");
        else if (line.kind != SettingsLine::KEY || m_section == SECTION_BAD)
            continue;  // the lines of a bad section were reported with its header
        else if (m_section == SECTION_NONE)
            Problem(line.number, "a line before the first section");
        else if (m_section == SECTION_MEDIUM)
            MediumKey(line);
        else
            fileLines.emplace_back(m_section, &line);
    }
    for (const auto& fileLine : fileLines)
        FileLine(fileLine.first, *fileLine.second);
}

bool DescriptionReader::ToCp932(const SettingsLine& line, std::string* text)
{
    std::string converted;
    bool ok = m_fUtf8 ? Utf8ToCp932(*text, &converted) : Cp932ToUtf8(*text, &converted);
    if (!ok) {
        Problem(line.number, m_fUtf8 ? "holds a character that code page 932 cannot hold, or bytes that are not UTF-8"
                                     : "holds bytes that are not code page 932 (write Encoding=UTF-8 for UTF-8)");
        return false;
    }
    if (m_fUtf8)
        *text = converted;
    return true;
}

void DescriptionReader::Section(const SettingsLine& line)
{
    if (line.fOpenHeader || !TrimBlanks(line.value).empty()) {
        Problem(line.number, "a section header is [name] alone on its line (a target cannot start with \"[\")");
        m_section = SECTION_BAD;
        return;
    }
    std::string folded = FoldNameCase(line.name);
    auto seen = m_seenSections.find(folded);
    if (seen != m_seenSections.end())
        Problem(line.number, "section [" + ShowCp932(line.name) + "] again (first at line " +
                                 std::to_string(seen->second) + "): the setup reads only the first");
    m_seenSections.emplace(folded, line.number);
    if (SameName(line.name, MEDIUM_SECTION)) {
        m_section = SECTION_MEDIUM;
        return;
    }
    for (int i = 0; i < LIST_SECTION_COUNT; ++i) {
        if (SameName(line.name, LIST_SECTIONS[i])) {
            m_section = i;
            return;
        }
    }
    Problem(line.number, "unknown section [" + ShowCp932(line.name) +
                             "]: the setup copies Common, Update, Files, Setting, Sample and Files2");
    m_section = SECTION_BAD;
}

void DescriptionReader::MediumKey(const SettingsLine& line)
{
    std::string key = TrimBlanks(line.name);
    std::string value = TrimBlanks(line.value);
    if (SameName(key, "Encoding"))
        return;
    if (SameName(key, "DiskSize")) {
        if (!ParseDiskSize(value, &m_description->diskSize))
            Problem(line.number, "DiskSize is a number of bytes or 1.44M");
    } else if (SameName(key, "Source")) {
        fs::path base;
        if (ToCp932(line, &value) && PathFromCp932(value, &base))
            m_sourceBase = m_file.parent_path() / base;
    } else {
        Problem(line.number, "unknown key " + ShowCp932(key) + " in [Medium] (Encoding, Source, DiskSize)");
    }
}

void DescriptionReader::FileLine(int section, const SettingsLine& line)
{
    std::string target = TrimBlanks(line.name);
    std::string value = line.value;
    if (!ToCp932(line, &target) || !ToCp932(line, &value))
        return;
    DescEntry entry;
    entry.line = line.number;
    entry.section = section;
    std::string shownTarget = ShowCp932(target);
    if (!SplitTargetPath(target, &entry.folder, &entry.name)) {
        Problem(line.number, "target " + shownTarget + " names no folder: start it with $(AppPath) or another folder");
        return;
    }
    std::string problem = TargetFolderProblem(entry.folder);
    if (!problem.empty())
        return Problem(line.number, "the folder of target " + shownTarget + " " + problem);
    problem = TargetNameProblem(entry.name);
    if (!problem.empty())
        return Problem(line.number, "the file name of target " + shownTarget + " " + problem);

    std::vector<std::string> fields = SplitListFields(value, 3);
    std::string option = FoldNameCase(TrimBlanks(fields[1]));
    if (!TrimBlanks(fields[2]).empty())
        return Problem(line.number, "more than a source and an option after \"=\"");
    if (option == "COMPRESS")
        entry.mode = ENTRY_COMPRESS;
    else if (option == "DELETE")
        entry.mode = ENTRY_DELETE;
    else if (option != "PLAIN" && !option.empty())
        return Problem(line.number, "unknown option " + ShowCp932(TrimBlanks(fields[1])) + " (compress, plain or delete)");
    if (!ReadSource(line, TrimBlanks(fields[0]), &entry))
        return;

    std::string key = std::to_string(section) + "|" + FoldNameCase(entry.folder) + "\\" + FoldNameCase(entry.name);
    auto first = m_targets.emplace(key, line.number);
    if (!first.second)
        return Problem(line.number, "target " + shownTarget + " is already in [" + LIST_SECTIONS[section] +
                                        "] at line " + std::to_string(first.first->second));
    m_description->entries.push_back(entry);
}

bool DescriptionReader::ReadSource(const SettingsLine& line, const std::string& sourceText, DescEntry* entry)
{
    entry->sourceText = sourceText;
    if (entry->mode == ENTRY_DELETE) {
        if (sourceText.empty())
            return true;
        Problem(line.number, "a line that deletes its target has no source: write \"target=, delete\"");
        return false;
    }
    if (sourceText.empty()) {
        Problem(line.number, "no source file (a line that deletes its target says \"target=, delete\")");
        return false;
    }
    fs::path source;
    PathFromCp932(sourceText, &source);
    entry->source = source.is_absolute() ? source : m_sourceBase / source;
    std::error_code error;
    if (!fs::is_regular_file(entry->source, error)) {
        Problem(line.number, "source file " + ShowPath(entry->source) + " not found");
        return false;
    }
    return true;
}

}  // namespace

bool ReadDescription(const fs::path& file, Description* description, std::vector<std::string>* problems)
{
    size_t before = problems->size();
    Bytes bytes;
    if (!ReadWholeFile(file, &bytes)) {
        problems->push_back(ShowPath(file) + ": cannot be read");
        return false;
    }
    DescriptionReader(file, description, problems).Read(std::string(bytes.begin(), bytes.end()));
    return problems->size() == before;
}
