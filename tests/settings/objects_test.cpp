// SafePtr reference counting with the release hook, and the section objects
// over a settings file and over nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dazo/envsec.h"
#include "settings_util.h"

namespace {

std::vector<std::string> s_events;

class Tracked : public SafeObject {
public:
    explicit Tracked(const char* name) : m_name(name) {}
    ~Tracked() override { s_events.push_back("delete " + m_name); }
    void OnRelease() override { s_events.push_back("release " + m_name + " refs " + std::to_string(GetRefCount())); }

private:
    std::string m_name;
};

class TrackedChild : public Tracked {
public:
    TrackedChild() : Tracked("child") {}
};

TEST(SettingsSafePtr, LastReferenceRunsTheHookThenDeletes)
{
    s_events.clear();
    {
        SafePtr<Tracked> a(new Tracked("a"));
        EXPECT_EQ(1, a->GetRefCount());
        {
            SafePtr<Tracked> b(a);
            SafePtr<Tracked> c;
            c = b;
            EXPECT_EQ(3, a->GetRefCount());
        }
        EXPECT_EQ(1, a->GetRefCount());
        EXPECT_TRUE(s_events.empty());
    }
    EXPECT_EQ((std::vector<std::string> {"release a refs 0", "delete a"}), s_events);
}

TEST(SettingsSafePtr, ReassignmentDropsTheOldObject)
{
    s_events.clear();
    SafePtr<Tracked> p(new Tracked("old"));
    p = SafePtr<Tracked>(new Tracked("new"));
    EXPECT_EQ((std::vector<std::string> {"release old refs 0", "delete old"}), s_events);
    p = p;
    EXPECT_EQ(1, p->GetRefCount());
    p = SafePtr<Tracked>();
    EXPECT_FALSE(p);
    EXPECT_EQ(4u, s_events.size());
}

TEST(SettingsSafePtr, DerivedHandleConvertsAndSharesTheCount)
{
    s_events.clear();
    SafePtr<TrackedChild> child(new TrackedChild);
    SafePtr<Tracked> base(child);
    EXPECT_EQ(2, child->GetRefCount());
    EXPECT_EQ(child.Get(), base.Get());
    child = SafePtr<TrackedChild>();
    EXPECT_TRUE(s_events.empty());
    base = SafePtr<Tracked>();
    EXPECT_EQ((std::vector<std::string> {"release child refs 0", "delete child"}), s_events);
}

using SettingsSections = SettingsTest;

TEST_F(SettingsSections, FileSectionReadsAndWritesItsSection)
{
    SafePtr<FEnv2> env(new FEnv2(MakeFile("S.ENV", "[Main]\r\nk=v\r\nn=5\r\n[Main\\Sub]\r\ns=1\r\n").c_str(), 0));
    SafePtr<EnvSec> sec(new FEnv2Sec(env, "main"));
    DataObjStr value;
    int found = -1;
    sec->GetString(value, "K", "d", &found);
    EXPECT_STREQ("v", value);
    EXPECT_EQ(1, found);
    EXPECT_EQ(5, sec->GetInt("n", 0, &found));
    EXPECT_EQ(1, sec->WriteInt("n", 6));
    EXPECT_EQ(1, sec->WriteString("new", "x"));
    EXPECT_EQ(0, sec->WriteString("bad=key", "x"));

    SafePtr<EnvSec> sub = sec->GetSubSec("SUB");
    EXPECT_EQ(1, sub->GetInt("s", 0));
    EXPECT_EQ(1, sub->WriteString("t", "2"));
    EXPECT_EQ("[Main]\r\nk=v\r\nn=6\r\nnew=x\r\n[Main\\Sub]\r\ns=1\r\nt=2\r\n", TextOf(*env));
}

TEST_F(SettingsSections, SectionKeepsItsFileAlive)
{
    SafePtr<EnvSec> sec;
    {
        SafePtr<FEnv2> env(new FEnv2(MakeFile("K.ENV", "[S]\r\nk=kept\r\n").c_str(), 0));
        sec = SafePtr<EnvSec>(new FEnv2Sec(env, "S"));
        EXPECT_EQ(2, env->GetRefCount());
    }
    DataObjStr value;
    sec->GetString(value, "k", "");
    EXPECT_STREQ("kept", value);
}

TEST(SettingsNullSection, ReadsGiveDefaultsAndWritesVanish)
{
    SafePtr<EnvSec> none(new NullEnvSec);
    DataObjStr value("old");
    int found = -1;
    none->GetString(value, "k", "default", &found);
    EXPECT_STREQ("default", value);
    EXPECT_EQ(0, found);
    found = -1;
    EXPECT_EQ(42, none->GetInt("k", 42, &found));
    EXPECT_EQ(0, found);
    EXPECT_EQ(1, none->WriteString("k", "v"));
    EXPECT_EQ(1, none->WriteInt("k", 1));
    none->GetString(value, "k", "");
    EXPECT_STREQ("", value);
    SafePtr<EnvSec> sub = none->GetSubSec("child");
    EXPECT_EQ(none.Get(), sub.Get());
    EXPECT_EQ(2, none->GetRefCount());
}

}  // namespace
