// SafePtr reference counting with the release hook, and the section object
// over a settings file.
#include "dazo/envsec.h"
#include "scratch_test.h"
#include "settings_util.h"

namespace {

std::vector<std::string> s_events;

class Tracked : public SafeObject {
public:
    explicit Tracked(const char* name = "child") : m_name(name) {}
    ~Tracked() override { s_events.push_back("delete " + m_name); }
    void OnRelease() override { s_events.push_back("release " + m_name + " refs " + std::to_string(GetRefCount())); }

private:
    std::string m_name;
};

struct TrackedChild : public Tracked {};

TEST(SettingsSafePtr, LastReferenceRunsTheHookThenDeletes)
{
    s_events.clear();
    {
        SafePtr<TrackedChild> child(new TrackedChild);
        SafePtr<Tracked> a(child), b;
        b = a;
        b = b;
        EXPECT_EQ(3, child->GetRefCount());
        child = SafePtr<TrackedChild>();
        a = SafePtr<Tracked>(new Tracked("new"));
        EXPECT_TRUE(s_events.empty());
    }
    EXPECT_EQ((std::vector<std::string> {"release child refs 0", "delete child", "release new refs 0", "delete new"}),
              s_events);
}

using SettingsSections = ScratchTest;

TEST_F(SettingsSections, FileSectionReadsAndWritesItsSectionAndKeepsTheFileAlive)
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
