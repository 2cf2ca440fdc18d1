#include "mkmedium/plan.h"

#include <map>
#include <set>
#include <system_error>

#include "mkmedium/cp932.h"
#include "mkmedium/listfields.h"
#include "mkmedium/names.h"

namespace fs = std::filesystem;

// The order the files go on the disks: a fresh install reads Common, Files,
// Setting, Sample, Files2 and an update Common, Update, Files2, so with
// Update placed before Files2 both ask for the disks in rising order.
static const int PLACEMENT_ORDER[LIST_SECTION_COUNT] = {0, 2, 3, 4, 1, 5};

namespace {

// Names in use on the medium, compared as Windows compares them.
class NameSet {
public:
    NameSet() { m_taken.insert(FoldNameCase("SETUP.LST")); }

    // base, or base in a numbered folder when base is taken.
    std::string Claim(const std::string& base)
    {
        if (m_taken.insert(FoldNameCase(base)).second)
            return base;
        for (int n = 2;; ++n) {
            std::string folder = std::to_string(n);
            if (m_taken.count(folder) && !m_folders.count(folder))
                continue;  // a file has that name
            std::string name = folder + "\\" + base;
            if (m_taken.insert(FoldNameCase(name)).second) {
                m_taken.insert(folder);
                m_folders.insert(folder);
                return name;
            }
        }
    }

private:
    std::set<std::string> m_taken;
    std::set<std::string> m_folders;
};

std::string SourceKey(const fs::path& source, bool compress)
{
    std::error_code error;
    fs::path canonical = fs::canonical(source, error);
    return (error ? source : canonical).u8string() + (compress ? "|compressed" : "|plain");
}

}  // namespace

MediumPlan PlanMedium(const Description& description, const fs::path& setupExe)
{
    MediumPlan plan;
    NameSet names;
    std::map<std::string, int> fileOfSource;
    MediumFile setup;
    setup.source = setupExe;
    setup.name = names.Claim("SETUP.EXE");
    plan.files.push_back(setup);
    fileOfSource[SourceKey(setupExe, false)] = 0;

    plan.fileOfEntry.assign(description.entries.size(), -1);
    for (int section : PLACEMENT_ORDER) {
        for (size_t i = 0; i < description.entries.size(); ++i) {
            const DescEntry& entry = description.entries[i];
            if (entry.section != section || entry.mode == ENTRY_DELETE)
                continue;
            bool compress = entry.mode == ENTRY_COMPRESS;
            auto known = fileOfSource.emplace(SourceKey(entry.source, compress), (int)plan.files.size());
            plan.fileOfEntry[i] = known.first->second;
            if (!known.second)
                continue;
            MediumFile file;
            file.source = entry.source;
            file.fCompress = compress;
            file.line = entry.line;
            file.name = names.Claim(compress ? CompressedName(entry.name, &file.lastChar) : entry.name);
            plan.files.push_back(file);
        }
    }
    return plan;
}

std::string ListText(const Description& description, const MediumPlan& plan, int diskDigits)
{
    std::string text = "; Made by mkmedium from the medium description: change that and make the medium again.\r\n";
    for (int section = 0; section < LIST_SECTION_COUNT; ++section) {
        int key = 0;
        for (size_t i = 0; i < description.entries.size(); ++i) {
            const DescEntry& entry = description.entries[i];
            if (entry.section != section)
                continue;
            if (key == 0)
                text += std::string("[") + LIST_SECTIONS[section] + "]\r\n";
            const MediumFile* file = plan.fileOfEntry[i] < 0 ? nullptr : &plan.files[plan.fileOfEntry[i]];
            std::string disk = file ? std::to_string(file->disk) : "0";
            if (diskDigits > 0)
                disk = std::string(diskDigits, '9');
            text += "File" + std::to_string(++key) + "=" + disk + "," + (file && file->fCompress ? "1" : "0") + "," +
                    ListFieldText(file ? file->name : "") + "," + ListFieldText(entry.name) + "," +
                    ListFieldText(entry.folder) + ",,,,0\r\n";
        }
    }
    return text;
}
