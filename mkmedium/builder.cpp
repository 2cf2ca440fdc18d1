#include "mkmedium/builder.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "mkmedium/cp932.h"
#include "mkmedium/description.h"
#include "mkmedium/diskfiles.h"
#include "mkmedium/plan.h"
#include "mkmedium/szdd.h"

namespace fs = std::filesystem;

// A disk stores a file in whole sectors, and a folder in one.
static const uint64_t SECTOR = 512;

static uint64_t OnDisk(uint64_t size)
{
    return (size + SECTOR - 1) / SECTOR * SECTOR;
}

namespace {

struct Totals {
    uint64_t before = 0;
    uint64_t after = 0;
};

// Lays the planned files on disks in their order and writes them.
class DiskWriter {
public:
    DiskWriter(const BuildRequest& request, const Description& description, MediumPlan* plan, Console& console)
        : m_request(request), m_description(description), m_plan(plan), m_console(console)
    {
    }

    uint64_t DiskSize() const { return m_request.diskSize ? m_request.diskSize : m_description.diskSize; }
    bool Write(Totals* totals);
    int Disks() const { return m_disk; }

private:
    bool Fail(const std::string& text)
    {
        m_console.Problem(text);
        return false;
    }
    fs::path DiskFolder(int disk) const { return m_request.output / ("DISK" + std::to_string(disk)); }
    bool Place(MediumFile* file, uint64_t size);
    bool Store(const MediumFile& file, const Bytes& bytes);

    const BuildRequest& m_request;
    const Description& m_description;
    MediumPlan* m_plan;
    Console& m_console;
    int m_disk = 1;
    uint64_t m_used = 0;
    std::vector<std::string> m_folders;  // the numbered folders of the current disk
};

bool DiskWriter::Write(Totals* totals)
{
    // Disk 1 keeps room for SETUP.EXE and for the list at its longest.
    std::error_code error;
    MediumFile& setup = m_plan->files[0];
    setup.disk = 1;
    int digits = (int)std::to_string(m_plan->files.size()).size();
    m_used = OnDisk(fs::file_size(setup.source, error)) +
             OnDisk(ListText(m_description, *m_plan, digits).size());
    if (DiskSize() && m_used > DiskSize())
        return Fail("a disk of " + GroupDigits(DiskSize()) + " bytes cannot hold SETUP.EXE and SETUP.LST (" +
                    GroupDigits(m_used) + " bytes)");
    fs::create_directories(DiskFolder(1), error);
    for (size_t i = 0; i < m_plan->files.size(); ++i) {
        MediumFile& file = m_plan->files[i];
        m_console.Progress("[" + std::to_string(i + 1) + "/" + std::to_string(m_plan->files.size()) + "] " +
                           ShowCp932(file.name));
        Bytes bytes;
        if (!ReadWholeFile(file.source, &bytes))
            return Fail(ShowPath(file.source) + ": cannot be read");
        totals->before += bytes.size();
        if (file.fCompress)
            bytes = SzddCompress(bytes, file.lastChar);
        totals->after += bytes.size();
        if ((i > 0 && !Place(&file, bytes.size())) || !Store(file, bytes))
            return false;
    }
    std::string list = ListText(m_description, *m_plan, 0);
    if (!WriteWholeFile(DiskFolder(1) / "SETUP.LST", Bytes(list.begin(), list.end())))
        return Fail(ShowPath(DiskFolder(1) / "SETUP.LST") + ": cannot be written");
    return true;
}

bool DiskWriter::Place(MediumFile* file, uint64_t size)
{
    size_t slash = FindLastCp932Char(file->name, '\\');
    std::string folder = slash == std::string::npos ? "" : file->name.substr(0, slash);
    for (int fresh = 0; fresh < 2; ++fresh) {
        bool newFolder = !folder.empty() && std::find(m_folders.begin(), m_folders.end(), folder) == m_folders.end();
        uint64_t need = OnDisk(size) + (newFolder ? SECTOR : 0);
        if (!DiskSize() || m_used + need <= DiskSize()) {
            m_used += need;
            if (newFolder)
                m_folders.push_back(folder);
            file->disk = m_disk;
            return true;
        }
        if (fresh)
            break;
        ++m_disk;
        m_used = 0;
        m_folders.clear();
    }
    return Fail(m_description.shownName + ":" + std::to_string(file->line) + ": " + ShowCp932(file->name) + " is " +
                GroupDigits(size) + " bytes, more than a disk of " + GroupDigits(DiskSize()) + " bytes holds");
}

bool DiskWriter::Store(const MediumFile& file, const Bytes& bytes)
{
    fs::path relative;
    PathFromCp932(file.name, &relative);
    fs::path target = DiskFolder(file.disk) / relative;
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (!WriteWholeFile(target, bytes))
        return Fail(ShowPath(target) + ": cannot be written");
    // The setup gives each installed file the time of its file on the
    // medium: that is the time of the vendor's build.
    fs::last_write_time(target, fs::last_write_time(file.source, error), error);
    return true;
}

// Sources stored plain that no disk can hold; compressed ones are known
// only once compressed.
bool CheckSizes(const Description& description, uint64_t diskSize, Console& console)
{
    bool ok = true;
    for (const DescEntry& entry : description.entries) {
        std::error_code error;
        uint64_t size = entry.mode == ENTRY_DELETE ? 0 : fs::file_size(entry.source, error);
        std::string where = description.shownName + ":" + std::to_string(entry.line) + ": ";
        if (entry.mode == ENTRY_PLAIN && diskSize && OnDisk(size) > diskSize) {
            console.Problem(where + ShowPath(entry.source) + " is " + GroupDigits(size) + " bytes, more than a disk of " +
                            GroupDigits(diskSize) + " bytes holds");
            ok = false;
        } else if (entry.mode == ENTRY_COMPRESS && size > SZDD_MAX_SIZE) {
            console.Problem(where + ShowPath(entry.source) + " is larger than a compressed file can be (4 GB)");
            ok = false;
        }
    }
    return ok;
}

bool OutputIsFree(const fs::path& output, Console& console)
{
    std::error_code error;
    if (!fs::exists(output, error) || fs::is_empty(output, error))
        return true;
    console.Problem(ShowPath(output) + ": not empty; the medium is made in a new or empty folder");
    return false;
}

}  // namespace

int BuildMedium(const BuildRequest& request, Console& console)
{
    Description description;
    std::vector<std::string> problems;
    bool read = ReadDescription(request.description, &description, &problems);
    for (const std::string& problem : problems)
        console.Problem(problem);
    fs::path setupExe;
    if (!FindFileNoCase(request.setupFolder, "SETUP.EXE", &setupExe)) {
        console.Problem(ShowPath(request.setupFolder) + ": holds no SETUP.EXE");
        return 1;
    }
    if (!read || !CheckSizes(description, request.diskSize ? request.diskSize : description.diskSize, console) ||
        !OutputIsFree(request.output, console))
        return 1;

    MediumPlan plan = PlanMedium(description, setupExe);
    DiskWriter writer(request, description, &plan, console);
    Totals totals;
    std::error_code error;
    fs::create_directories(request.output, error);
    if (!writer.Write(&totals)) {
        for (int disk = 1; disk <= writer.Disks(); ++disk)
            fs::remove_all(request.output / ("DISK" + std::to_string(disk)), error);
        return 1;
    }
    console.Progress("");
    size_t deletions = description.entries.size();
    for (int file : plan.fileOfEntry)
        deletions -= file >= 0;
    char percent[16];
    std::snprintf(percent, sizeof(percent), "%.1f%%", totals.before ? 100.0 * totals.after / totals.before : 100.0);
    console.Say(std::to_string(plan.files.size()) + " files on " + std::to_string(writer.Disks()) + " disk" +
                (writer.Disks() > 1 ? "s" : "") + " (" + std::to_string(description.entries.size()) +
                " list entries, " + std::to_string(deletions) + " of them deleting): " + GroupDigits(totals.before) +
                " bytes before compression, " + GroupDigits(totals.after) + " after (" + percent + ")");
    return 0;
}
