// A settings file (FEnv2). In memory: a missing file, where a changed, new or
// deleted key goes, which names and values are refused, the growth rule, and
// lookups that meet writes (the format itself is checked against its plain
// statement in fenv2_badinput_test). On disk: Save writes path + ".BAK" and
// then puts it in the file's place in one step, so that a reader never finds
// the file missing or half written, and a failed save leaves the file as it
// was. The lock file: an exclusive holder in another process (faults.exe holds
// it without sharing) makes ENV_HOLDLOCK, ENV_LOCK and a locked Save wait and
// then report the sharing violation; readers share the lock, and the last one
// deletes the lock file. Around it: SafePtr reference counting with the
// release hook, the section object over a file, and the shared security that
// the lock file is made with.
#include <atomic>
#include <functional>
#include <thread>

#include "dazo/envsec.h"
#include "dazo/filelock.h"
#include "dazo/sharedsec.h"
#include "scratch_test.h"
#include "settings_util.h"
#include "testkit/child_process.h"

namespace {

using SettingsFile = ScratchTest;

// GetString as a std::string; "<missing>" when not found.
std::string Lookup(FEnv2& env, const char* section, const char* key)
{
    DataObjStr value;
    env.GetString(value, section, key, "<missing>");
    return std::string(value);
}

TEST_F(SettingsFile, MissingFileIsOpenedOnlyWhenAskedAndSavedWholeWithTheAttributeAsked)
{
    // A missing file is opened (as an empty text) only when asked; state
    // bits given by the caller are ignored.
    const struct { DWORD flags, expected; } flags[] = {
        {0, 0}, {ENV_LOADED | ENV_DIRTY, 0}, {ENV_CREATE, ENV_CREATE | ENV_LOADED},
        {ENV_CREATE | ENV_HIDDEN, ENV_CREATE | ENV_HIDDEN | ENV_LOADED}};
    for (const auto& row : flags) {
        std::string name = "NEW" + std::to_string(row.flags) + ".ENV";
        std::string path = Path(name);
        FEnv2 env(path.c_str(), row.flags);
        EXPECT_EQ(row.expected, env.GetFlags()) << row.flags;
        EXPECT_TRUE(env.GetTextSize() == 0 && Lookup(env, "S", "k") == "<missing>" && env.GetInt("S", "k", 3) == 3);
        DWORD attributes = GetFileAttributesA(path.c_str());
        EXPECT_EQ(row.expected != 0, attributes != INVALID_FILE_ATTRIBUTES) << row.flags;
        EXPECT_EQ((row.flags & ENV_HIDDEN) != 0, row.expected && (attributes & FILE_ATTRIBUTE_HIDDEN)) << row.flags;
        EXPECT_TRUE(row.expected ||
                    Reported(ERR_OPEN2, "指定されたファイルが見つかりません。", "ファイル " + path + " をオープンできません."));
        // Another program writes the file and hides it. Save then writes the
        // whole text, even one empty and unchanged, with the hidden attribute
        // only when asked; a file that was not read is never saved over.
        MakeFile(name, "changed by another program\r\n");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        EXPECT_EQ(row.expected != 0, env.Save()) << row.flags;
        EXPECT_TRUE(row.expected || Reported(ERR_USER, "読み込みに成功していないので保存はできません", path));
        std::string saved = row.expected ? "" : "changed by another program\r\n";
        EXPECT_EQ(saved, Exists(path) ? ReadFileBytes(path) : "(no file)") << row.flags;
        bool hidden = (row.flags & ENV_HIDDEN) || !row.expected;
        EXPECT_EQ(hidden, (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0) << row.flags;
        EXPECT_FALSE(Exists(path + ".BAK")) << row.flags;
    }
}

TEST_F(SettingsFile, WritesOnTheirRows)
{
    const std::string b = "; head\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n";
    const struct {
        const char *section, *key, *value;
        int result;
        std::string expected = "";  // empty: the text stays as it was
    } rows[] = {
        {"a", "ONE", "eins", 1, "; head\r\n[A]\r\nONE=eins\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "two", "", 1, "; head\r\n[A]\r\none=1\r\ntwo=\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "new", "x", 1, "; head\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\nnew=x\r\n[B]\r\nthree=3\r\n"},
        {nullptr, "top", "t", 1, "; head\r\ntop=t\r\n[A]\r\none=1\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "One", nullptr, 1, "; head\r\n[A]\r\ntwo=2\r\n\r\n; end of A\r\n[B]\r\nthree=3\r\n"},
        {"A", "none", nullptr, 1}, {"Nowhere", "one", nullptr, 1},
        {"a", "ONE", "1", 1},  // unchanged: the key keeps the file's spelling
        {"記号‐", "ソ表", "値‐", 1, b + "[記号‐]\r\nソ表=値‐\r\n"}, {"S", "key ", " a=b", 1, b + "[S]\r\nkey = a=b\r\n"},
        {"A", "k=x", "v", 0},    {"A", "k\rx", "v", 0},  {"A", "k\nx", "v", 0},   {"A", ";k", "v", 0},
        {"A", "[k", "v", 0},     {"A", "k", "v\r\n", 0}, {"A", "k", "v\rw", 0},   {"A", "k", "v\nw", 0},
        {"A]", "k", "v", 0},     {"A\r", "k", "v", 0},   {"A\n", "k", "v", 0},    {"A", "k=", nullptr, 0},
        {"新]", "k", "v", 0},    {"A", "\x81=", "v", 0}, {"A", "k", "\x81\r", 0}, {"A", "k", "\x81\n", 0},
    };
    for (const auto& row : rows) {
        std::string where = std::string(row.section ? row.section : "(null)") + " " + row.key;
        FEnv2 env(MakeFile("W.ENV", b).c_str(), 0);
        EXPECT_EQ(row.result, env.WriteString(row.section, row.key, row.value)) << robot::Quoted(where);
        std::string expected = row.expected.empty() ? b : row.expected;
        EXPECT_EQ(expected, TextOf(env)) << robot::Quoted(where);
        EXPECT_EQ(expected != b, (env.GetFlags() & ENV_DIRTY) != 0) << robot::Quoted(where);
    }
    FEnv2 env(MakeFile("W.ENV", b).c_str(), 0);
    EXPECT_TRUE(env.WriteInt("B", "three", 3) && env.WriteInt("C", "max", 2147483647));
    EXPECT_EQ(b + "[C]\r\nmax=2147483647\r\n", TextOf(env));
}

// A lookup goes on from where the previous one in its section stopped:
// writes before that place must be seen. The text is held with 2048 bytes to
// spare: writes within them keep the allocation, one beyond asks for the new
// size plus 2048.
TEST_F(SettingsFile, WalkSeesTheWritesAndTheTextGrowsByTheRequestPlus2048)
{
    const std::string text = "[S]\r\na=1\r\nb=2\r\nc=3\r\nd=e=f\r\nk=" + std::string(20000, 'x') + "\r\n";
    FEnv2 env(MakeFile("R.ENV", text).c_str(), 0);
    EXPECT_EQ(text.size() + 2048, env.GetAllocSize());
    EXPECT_EQ("2", Lookup(env, "S", "b"));
    env.WriteString("S", "a", nullptr);
    env.WriteString(nullptr, "x", "0");
    EXPECT_TRUE(Lookup(env, "S", "b") == "2" && Lookup(env, "S", "c") == "3");
    env.WriteString("S", "b", "22");
    EXPECT_TRUE(Lookup(env, "S", "B") == "22" && Lookup(env, "S", "C") == "3");
    // The name "d=e" matches the line "d=e=f" (the name, then "="), also
    // after the walk has passed that line's own key "d".
    EXPECT_TRUE(Lookup(env, "S", "d") == "e=f" && Lookup(env, "S", "d=e") == "f");
    env.WriteString("S", "f", std::string(2000, 'y').c_str());
    EXPECT_EQ(text.size() + 2048, env.GetAllocSize());
    env.WriteString("S", "g", std::string(30000, 'z').c_str());
    EXPECT_EQ(env.GetTextSize() + 2048, env.GetAllocSize());
    EXPECT_TRUE(Lookup(env, "S", "g") == std::string(30000, 'z') && Lookup(env, "S", "k") == std::string(20000, 'x'));
}

TEST_F(SettingsFile, FailedSaveLeavesTheFileAndItsAttributesAsTheyWere)
{
    const std::string path = MakeFile("SHARE.ENV", "[S]\r\nk=v\r\n");
    const struct { const char* name; std::function<void()> arrange; Report report; DWORD minMs, maxMs; } rows[] = {
        // The system refuses to replace a read-only file (Windows, after
        // retries) or replaces it and drops the attribute (Wine).
        {"read-only", [&] { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); },
         {ERR_WRITE, "ファイルは読み取り専用です。", "ファイル " + path + "を削除できません"}, 0, 1000},
        // A folder where the copy should go: access denied, retried for 5 s.
        {".BAK in the way", [&] { CreateDirectoryA((path + ".BAK").c_str(), nullptr); },
         {ERR_OPEN2, "アクセスが拒否されました。", "ファイル " + path + ".BAK をオープンできません."}, 4500, 8000},
    };
    for (const auto& row : rows) {
        row.arrange();
        DWORD attributes = GetFileAttributesA(path.c_str());
        FEnv2 env(path.c_str(), ENV_LOCK);
        env.WriteString("S", "k", "new");
        Stopwatch watch;
        EXPECT_EQ(0, env.Save()) << row.name;
        EXPECT_TRUE(watch.Elapsed() >= row.minMs && watch.Elapsed() <= row.maxMs) << row.name << " " << watch.Elapsed();
        EXPECT_TRUE(Reported(row.report.category, row.report.message, row.report.context)) << row.name;
        EXPECT_EQ("[S]\r\nk=v\r\n", ReadFileBytes(path)) << row.name;
        EXPECT_EQ(attributes, GetFileAttributesA(path.c_str())) << row.name;
        EXPECT_FALSE(Exists(path + ".lc$")) << row.name << ": the failed save kept its lock";
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(SettingsFile, ReaderAlwaysFindsAWholeOldOrNewText)
{
    // Two texts of different sizes, saved in turn while a thread reads the
    // file as fast as it can. The system refuses to replace a file that is
    // open without delete sharing: the saves must wait for the reader.
    const std::string texts[2] = {"[S]\r\nk=A\r\nfill=" + std::string(3000, 'a') + "\r\n",
                                  "[S]\r\nk=B\r\nfill=" + std::string(9000, 'b') + "\r\nend=1\r\n"};
    const std::string path = MakeFile("POLL.ENV", texts[0]);
    FEnv2 env(path.c_str(), 0);
    std::atomic<bool> saving {true};
    int reads = 0;
    std::string torn;  // the first read that found neither text
    // The reader is an FEnv2, which waits out the moment of the replace as
    // the program's other users do. Only a failed read reports (to the test's
    // frame, which fails the test).
    std::thread reader([&] {
        for (; saving; ++reads) {
            FEnv2 copy(path.c_str(), 0);
            std::string text = TextOf(copy);
            if (torn.empty() && text != texts[0] && text != texts[1])
                torn = copy.GetFlags() & ENV_LOADED ? "a text of " + std::to_string(text.size()) + " bytes" : "no text";
            // A moment between reads, in which the saver can replace the file.
            Sleep(1);
        }
    });
    int saves = 0;
    for (Stopwatch watch; watch.Elapsed() < 3500 && !HasFailure(); ++saves) {
        bool toB = saves % 2 == 0;
        env.WriteString("S", "k", toB ? "B" : "A");
        env.WriteString("S", "fill", std::string(toB ? 9000 : 3000, toB ? 'b' : 'a').c_str());
        env.WriteString("S", "end", toB ? "1" : nullptr);
        EXPECT_TRUE(texts[toB] == TextOf(env) && env.Save());
    }
    saving = false;
    reader.join();
    EXPECT_TRUE(env.GetFlags() & ENV_DIRTY) << "Save does not clear the dirty state";
    EXPECT_TRUE(torn.empty() && reads > 0) << torn << "; " << reads << " reads, " << saves << " saves";
    EXPECT_GE(saves, 10);
}

// A held lock waits for a holder in another process and keeps readers out
// until it goes; readers share the lock and keep writers out, and the last
// one to let go deletes the lock file. A wait that runs out reports the
// sharing violation.
TEST_F(SettingsFile, HeldLockKeepsOthersOutAndReadersShareTheLastDeletingIt)
{
    const std::string path = MakeFile("SHARE.ENV", "[S]\r\nk=v\r\n");
    const std::string lock = path + ".lc$";
    // faults.exe holds the lock file for 1.5 s and leaves it behind, as a
    // crashed program would; the held lock then takes it over.
    ChildProcess holder(std::string(FAULTS_EXE) + " hold-file " + Quote(lock) + " 1500");
    ASSERT_TRUE(holder.WaitForOutput("ready", 10000));
    {
        Stopwatch watch;
        FEnv2 env(path.c_str(), ENV_HOLDLOCK, 10000, 100);
        EXPECT_GE(watch.Elapsed(), 500u) << "did not wait for the holder";
        EXPECT_EQ((DWORD)(ENV_HOLDLOCK | ENV_LOADED), env.GetFlags());
        EXPECT_EQ(0u, FEnv2(path.c_str(), ENV_LOCK, 300, 100).GetFlags() & ENV_LOADED);
        EXPECT_TRUE(Reported(ERR_READ, lock + "の共有違反が発生しました", path + "を読み込むことができません"));
        EXPECT_TRUE(env.WriteString("S", "k", "held") && env.Save() && Exists(lock));
    }
    EXPECT_FALSE(Exists(lock)) << "the holder must delete the lock file";
    EXPECT_EQ("[S]\r\nk=held\r\n", ReadFileBytes(path));
    std::string nowhere = Path("NO FOLDER\\SHARE.ENV");
    EXPECT_EQ(0u, FEnv2(nowhere.c_str(), ENV_HOLDLOCK, 1000, 100).GetFlags() & ENV_LOADED);
    EXPECT_TRUE(Reported(ERR_OPEN2, "指定されたパスが見つかりません。", "ファイル " + nowhere + ".lc$ をオープンできません."));

    SafePtr<FileLock> other(new FileLock);
    ASSERT_EQ(1, other->Lock(lock.c_str(), FL_SHARED | FL_DELETE, 1000, 100));
    EXPECT_NE(0u, GetFileAttributesA(lock.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    FEnv2 reader(path.c_str(), ENV_LOCK, 300, 100);
    EXPECT_EQ("held", Lookup(reader, "S", "k"));
    EXPECT_TRUE(Exists(lock)) << "deleted while the other reader holds it";
    Stopwatch watch;
    EXPECT_EQ(0u, FEnv2(path.c_str(), ENV_HOLDLOCK, 1000, 100).GetFlags() & ENV_LOADED);
    EXPECT_TRUE(watch.Elapsed() >= 1000 && watch.Elapsed() < 5000) << watch.Elapsed();
    EXPECT_TRUE(Reported(ERR_READ, lock + "の共有違反が発生しました", path + "をロックすることができません"));
    EXPECT_TRUE(reader.WriteString("S", "k", "new") && !reader.Save());
    EXPECT_TRUE(Reported(ERR_WRITE, lock + "の共有違反が発生しました", path + "へ書き込むことができません"));
    EXPECT_TRUE(ReadFileBytes(path) == "[S]\r\nk=held\r\n" && !Exists(path + ".BAK"));
    other->Unlock();
    EXPECT_FALSE(Exists(lock)) << "the last reader must delete the lock file";
    EXPECT_TRUE(reader.Save() && !Exists(lock)) << "a locked save must delete its lock file";
    EXPECT_EQ("[S]\r\nk=new\r\n", ReadFileBytes(path));
}

TEST(SettingsSharedSecurity, IsEveryonesFullAccess)
{
    ASSERT_EQ(1, InitSharedSecurity());
    SECURITY_ATTRIBUTES* shared = GetSharedSecurity();
    BOOL present = FALSE, defaulted = TRUE;
    PACL acl = nullptr;
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(shared && InitSharedSecurity() == 1 && GetSharedSecurity() == shared &&
                GetSecurityDescriptorDacl(shared->lpSecurityDescriptor, &present, &acl, &defaulted) && present && acl &&
                acl->AceCount == 1 && GetAce(acl, 0, reinterpret_cast<void**>(&ace)));
    EXPECT_TRUE(ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && ace->Mask == FILE_ALL_ACCESS) << ace->Mask;
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(everyone);
    EXPECT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size) && EqualSid(&ace->SidStart, everyone));
}

std::vector<std::string> s_events;

struct Tracked : public SafeObject {
    explicit Tracked(const char* name = "child") : m_name(name) {}
    ~Tracked() override { s_events.push_back("delete " + m_name); }
    void OnRelease() override { s_events.push_back("release " + m_name + " refs " + std::to_string(GetRefCount())); }
    std::string m_name;
};

TEST(SettingsSafePtr, LastReferenceRunsTheHookThenDeletes)
{
    {
        SafePtr<Tracked> child(new Tracked);
        SafePtr<SafeObject> a(child), b;
        b = a;
        b = b;
        EXPECT_EQ(3, child->GetRefCount());
        child = SafePtr<Tracked>();
        a = SafePtr<Tracked>(new Tracked("new"));
        EXPECT_TRUE(s_events.empty());
    }
    EXPECT_EQ((std::vector<std::string> {"release child refs 0", "delete child", "release new refs 0", "delete new"}),
              s_events);
}

TEST_F(SettingsFile, FileSectionReadsAndWritesItsSectionAndKeepsTheFileAlive)
{
    SafePtr<FEnv2> env(new FEnv2(MakeFile("S.ENV", "[Main]\r\nk=v\r\nn=5\r\n[Main\\Sub]\r\ns=1\r\n").c_str(), 0));
    SafePtr<EnvSec> sec(new FEnv2Sec(env, "main"));
    const FEnv2* file = env.Get();
    env = SafePtr<FEnv2>();
    DataObjStr value;
    int found = -1, foundInt = -1;
    sec->GetString(value, "K", "d", &found);
    EXPECT_TRUE(Text(value) == "v" && found == 1 && sec->GetInt("n", 0, &foundInt) == 5 && foundInt == 1);
    EXPECT_TRUE(sec->WriteInt("n", 6) && sec->WriteString("new", "x") && !sec->WriteString("bad=key", "x"));
    SafePtr<EnvSec> sub = sec->GetSubSec("SUB");
    EXPECT_TRUE(sub->GetInt("s", 0) == 1 && sub->WriteString("t", "2"));
    EXPECT_EQ("[Main]\r\nk=v\r\nn=6\r\nnew=x\r\n[Main\\Sub]\r\ns=1\r\nt=2\r\n", TextOf(*file));
}

}  // namespace
