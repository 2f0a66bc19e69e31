// The install sequence against a fake that records every call and answers
// from a script; the items live in a real catalogue.
#include "engine/install_task.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/host_result.h"

namespace corvel {

// Found by argument lookup from inside GoogleTest, so beside InstallMessage.
static bool operator==(const InstallMessage& a, const InstallMessage& b) {
    return a.kind == b.kind && a.step == b.step && a.name == b.name && a.path == b.path &&
           a.missingDrive == b.missingDrive;
}

static void PrintTo(const InstallMessage& message, std::ostream* out) {
    *out << "{kind " << static_cast<int>(message.kind) << ", step " << message.step << ", " << message.name << ", "
         << message.path << ", drive " << (message.missingDrive ? message.missingDrive : '-') << "}";
}

namespace {

struct DispatchCall {
    std::string name, file, parameters, folder;
    unsigned step;
    bool operator==(const DispatchCall&) const = default;
};

void PrintTo(const DispatchCall& call, std::ostream* out) {
    *out << "{" << call.name << ", " << call.file << ", " << call.parameters << ", " << call.folder << ", " << call.step
         << "}";
}

class FakeSurroundings : public InstallServices {
public:
    explicit FakeSurroundings(const Catalogue& catalogue) : catalogue_(catalogue) {}

    // Script: files that do not exist, the host's answer per file (done when
    // absent), whether the stop event is set, and what a dispatch does meanwhile.
    std::set<std::string> missing;
    std::map<std::string, int> answers;
    bool stop = false;
    unsigned long drives = 0x3FFFFFF;  // A to Z
    std::function<void(const DispatchCall&)> whileDispatching;
    std::function<void(ItemFields&)> afterRead;  // fields the catalogue itself would refuse

    // Record.
    std::vector<std::string> events;  // every call, in order
    std::vector<std::string> reads;   // Names of the items read
    std::vector<DispatchCall> dispatches;
    std::vector<InstallMessage> messages;
    std::vector<std::string> registrationTexts;

    bool ReadItem(const CatalogueNode* item, ItemFields& fields) override {
        events.push_back("read");
        if (!catalogue_.GetItemFields(item, fields)) return false;
        if (afterRead) afterRead(fields);
        reads.push_back(fields.Name);
        return true;
    }
    bool StopRequested() override {
        events.push_back("stop?");
        return stop;
    }
    bool FileExists(const std::string& path) override {
        events.push_back("exists " + path);
        return !missing.count(path);
    }
    unsigned long LogicalDrives() override { return drives; }
    void SetRegistrationText(const std::string& text) override {
        events.push_back("registration " + text);
        registrationTexts.push_back(text);
    }
    int Dispatch(const std::string& name, const std::string& file, const std::string& parameters,
                 const std::string& installFolder, unsigned step) override {
        events.push_back("dispatch " + file);
        dispatches.push_back({name, file, parameters, installFolder, step});
        if (whileDispatching) whileDispatching(dispatches.back());
        auto answer = answers.find(file);
        return answer == answers.end() ? kDone : answer->second;
    }
    void ShowMessage(const InstallMessage& message) override {
        events.push_back("message");
        messages.push_back(message);
    }

    std::vector<std::string> DispatchedFiles() const {
        std::vector<std::string> files;
        for (const DispatchCall& call : dispatches) files.push_back(call.file);
        return files;
    }

private:
    const Catalogue& catalogue_;
};

class InstallTaskTest : public ::testing::Test {
protected:
    const PathResolver paths_{"D:\\CD\\"};
    Catalogue catalogue_;
    CatalogueNode* category_ = catalogue_.AddCategory("Tools");
    FakeSurroundings fake_{catalogue_};

    // An item named name whose files lie under D:\CD\<name>\.
    const CatalogueNode* Add(const std::string& name, bool patch = true, bool settings = true) {
        ItemFields fields;
        fields.Name = name;
        fields.SrcPath = name + "\\setup.exe";
        fields.Patch = patch ? name + "\\patch.exe" : "";
        fields.Settings = settings ? name + "\\app.reg" : "";
        fields.Regcode = "code of " + name;
        return Add(fields);
    }
    const CatalogueNode* Add(const ItemFields& fields) {
        const CatalogueNode* item = catalogue_.AddItem(category_, fields);
        EXPECT_NE(item, nullptr);
        return item;
    }

    static std::string Installer(const std::string& name) { return "D:\\CD\\" + name + "\\setup.exe"; }
    static std::string PatchOf(const std::string& name) { return "D:\\CD\\" + name + "\\patch.exe"; }
    static std::string SettingsOf(const std::string& name) { return "D:\\CD\\" + name + "\\app.reg"; }

    ItemOutcome Install(const CatalogueNode* item, unsigned flags = kAllSteps) {
        return InstallItem(fake_, paths_, item, flags);
    }
    void Run(const std::vector<const CatalogueNode*>& items, unsigned flags = kAllSteps) {
        RunInstallTask(fake_, paths_, items, flags);
    }
};

using Files = std::vector<std::string>;

// --- Which steps run ---

TEST_F(InstallTaskTest, NoItemDoesNothingAtAll) {
    Run({});
    EXPECT_TRUE(fake_.events.empty());
}

TEST_F(InstallTaskTest, OnlyTheStepsAskedForRunInOrder) {
    const CatalogueNode* item = Add("A");
    const std::pair<unsigned, Files> cases[] = {
        {kAllSteps, {Installer("A"), PatchOf("A"), SettingsOf("A")}},
        {kPatchStep, {PatchOf("A")}},
        {kInstallerStep | kSettingsStep, {Installer("A"), SettingsOf("A")}},
    };
    for (const auto& [flags, files] : cases) {
        fake_.dispatches.clear();
        EXPECT_EQ(Install(item, flags), kOutcomeDone) << flags;
        EXPECT_EQ(fake_.DispatchedFiles(), files) << flags;
    }
    // Empty patch and settings commands are skipped, not missing.
    fake_.dispatches.clear();
    EXPECT_EQ(Install(Add("B", false, false)), kOutcomeDone);
    EXPECT_EQ(fake_.DispatchedFiles(), (Files{Installer("B")}));
    EXPECT_TRUE(fake_.messages.empty());
}

TEST_F(InstallTaskTest, PatchCommandOnItemsWithoutPatchDoesNothing) {
    Run({Add("A", false), Add("B", false, false)}, kPatchStep);
    EXPECT_EQ(fake_.reads, (Files{"A", "B"}));
    for (const std::string& event : fake_.events) EXPECT_TRUE(event == "read" || event == "stop?") << event;
}

// --- Missing files ---

TEST(MissingDriveOf, OnlyALetterTheDrivesLack) {
    const unsigned long cAndD = (1ul << 2) | (1ul << 3);
    EXPECT_EQ(MissingDriveOf("N:\\Soft\\setup.exe", cAndD), 'N');
    EXPECT_EQ(MissingDriveOf("n:\\Soft\\setup.exe", cAndD), 'N');
    EXPECT_EQ(MissingDriveOf("Z:", cAndD), 'Z');
    EXPECT_EQ(MissingDriveOf("d:\\Soft\\setup.exe", cAndD), 0);
    EXPECT_EQ(MissingDriveOf("C:\\setup.exe", cAndD), 0);
    // No drive letter to name: a network path, a bad text, nothing.
    for (const char* path : {"\\\\nas\\soft\\setup.exe", "1:\\setup.exe", "N", ""}) {
        EXPECT_EQ(MissingDriveOf(path, cAndD), 0) << path;
    }
}

TEST_F(InstallTaskTest, AMissingFileOnADriveCorvelLacksNamesTheDrive) {
    // A network drive mapped without elevation does not exist for Corvel.
    fake_.drives = 1ul << 3;  // only D:
    fake_.missing = {"N:\\Soft\\setup.exe", Installer("B")};
    ItemFields onNetwork{"A", "N:\\Soft\\setup.exe", "", "", "", "", ""};
    Run({Add(onNetwork), Add("B")});
    EXPECT_EQ(fake_.messages,
              (std::vector<InstallMessage>{{InstallMessageKind::FileMissing, 1, "A", "N:\\Soft\\setup.exe", 'N'},
                                           {InstallMessageKind::FileMissing, 1, "B", Installer("B"), 0}}));
}

TEST_F(InstallTaskTest, UnresolvableCommandIsAMissingFileWithEmptyPath) {
    // The catalogue refuses an empty SrcPath, but the sequence must not run one.
    fake_.afterRead = [](ItemFields& fields) { fields.SrcPath.clear(); };
    EXPECT_EQ(Install(Add("A")), kOutcomeFileMissing);
    EXPECT_EQ(fake_.messages, (std::vector<InstallMessage>{{InstallMessageKind::FileMissing, 1, "A", ""}}));
    EXPECT_TRUE(fake_.dispatches.empty());
    EXPECT_TRUE(fake_.registrationTexts.empty());

    fake_.afterRead = nullptr;
    // A flag first, an unclosed quote, an invalid path, blanks only.
    for (const char* command : {"/S", "\"A\\setup.exe /S", "A\\..\\setup.exe", "   "}) {
        fake_.messages.clear();
        ItemFields fields{"A", "A\\setup.exe", "", command, "", "", ""};
        EXPECT_EQ(Install(Add(fields)), kOutcomeFileMissing) << command;
        EXPECT_EQ(fake_.messages, (std::vector<InstallMessage>{{InstallMessageKind::FileMissing, 2, "A", ""}}))
            << command;
    }
}

TEST_F(InstallTaskTest, MissingFileNamesTheResolvedPathAndEndsTheItem) {
    fake_.missing = {Installer("A"), PatchOf("B")};
    Run({Add("A"), Add("B"), Add("C")});
    EXPECT_EQ(fake_.messages, (std::vector<InstallMessage>{{InstallMessageKind::FileMissing, 1, "A", Installer("A")},
                                                           {InstallMessageKind::FileMissing, 2, "B", PatchOf("B")}}));
    // A gets nothing, B only its installer; the task goes on to C.
    EXPECT_EQ(fake_.DispatchedFiles(), (Files{Installer("B"), Installer("C"), PatchOf("C"), SettingsOf("C")}));
    EXPECT_EQ(fake_.registrationTexts, (Files{"code of B", "code of C"}));
}

// --- Host results ---

TEST_F(InstallTaskTest, EveryHostResultInEveryStep) {
    struct Expected {
        int result;
        ItemOutcome outcome;  // kOutcomeDone: the item went on
        bool message;
        InstallMessageKind kind;
    };
    const Expected table[] = {
        {kDone, kOutcomeDone, false, {}},
        {kFailed, kOutcomeFailed, true, InstallMessageKind::ComponentFailed},
        {kAbandonItem, kOutcomeAbandonItem, false, {}},
        {kAbandonAll, kOutcomeStop, false, {}},
        {kNoComponent, kOutcomeNoComponent, true, InstallMessageKind::NoComponent},
        // Never answered by the host; taken like done.
        {1, kOutcomeDone, false, {}},
        {7, kOutcomeDone, false, {}},
        {-1, kOutcomeDone, false, {}},
    };
    const Files files = {Installer("A"), PatchOf("A"), SettingsOf("A")};
    const CatalogueNode* item = Add("A");
    for (const Expected& row : table) {
        for (std::size_t step = 0; step < files.size(); ++step) {
            fake_.dispatches.clear();
            fake_.messages.clear();
            fake_.answers = {{files[step], row.result}};
            EXPECT_EQ(Install(item), row.outcome) << row.result << " at " << step;

            Files expectedFiles(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(step) + 1);
            if (row.outcome == kOutcomeDone) expectedFiles = files;
            EXPECT_EQ(fake_.DispatchedFiles(), expectedFiles) << row.result << " at " << step;

            std::vector<InstallMessage> expectedMessages;
            if (row.message) expectedMessages.push_back({row.kind, 1u << step, "A", ""});
            EXPECT_EQ(fake_.messages, expectedMessages) << row.result << " at " << step;
        }
    }
}

TEST_F(InstallTaskTest, AbandonAllOnTheSecondOfFiveLeavesTheRestUntouched) {
    std::vector<const CatalogueNode*> items = {Add("A"), Add("B"), Add("C"), Add("D"), Add("E")};
    fake_.answers = {{Installer("B"), kAbandonAll}};
    Run(items);
    EXPECT_EQ(fake_.reads, (Files{"A", "B"}));
    EXPECT_EQ(fake_.DispatchedFiles(), (Files{Installer("A"), PatchOf("A"), SettingsOf("A"), Installer("B")}));
    EXPECT_TRUE(fake_.messages.empty());
}

TEST_F(InstallTaskTest, FailuresAndAbandonItemGoOnWithTheNextItem) {
    fake_.answers = {{Installer("A"), kNoComponent}, {PatchOf("B"), kFailed}, {Installer("C"), kAbandonItem}};
    Run({Add("A"), Add("B"), Add("C"), Add("D", false, false)});
    EXPECT_EQ(fake_.DispatchedFiles(),
              (Files{Installer("A"), Installer("B"), PatchOf("B"), Installer("C"), Installer("D")}));
    EXPECT_EQ(fake_.messages, (std::vector<InstallMessage>{{InstallMessageKind::NoComponent, 1, "A", ""},
                                                           {InstallMessageKind::ComponentFailed, 2, "B", ""}}));
}

TEST_F(InstallTaskTest, UnreadableRowIsPassedOver) {
    const CatalogueNode* category = category_;
    Run({nullptr, category, Add("A", false, false)});
    EXPECT_EQ(Install(category), kOutcomeUnreadable);
    EXPECT_EQ(fake_.DispatchedFiles(), (Files{Installer("A")}));
    EXPECT_TRUE(fake_.messages.empty());
}

// --- Stopping ---

// Also fixes where the registration text is set: after the file check, before the installer starts.
TEST_F(InstallTaskTest, StopIsCheckedBeforeEveryStep) {
    const CatalogueNode* item = Add("A");
    Install(item);
    EXPECT_EQ(fake_.events,
              (Files{"read", "stop?", "exists " + Installer("A"), "registration code of A",
                     "dispatch " + Installer("A"), "stop?", "exists " + PatchOf("A"), "dispatch " + PatchOf("A"),
                     "stop?", "exists " + SettingsOf("A"), "dispatch " + SettingsOf("A")}));
}

TEST_F(InstallTaskTest, StopDuringAStepEndsTheItemAndTheTask) {
    fake_.whileDispatching = [this](const DispatchCall& call) { fake_.stop = call.file == Installer("B"); };
    Run({Add("A"), Add("B"), Add("C")});
    EXPECT_EQ(fake_.reads, (Files{"A", "B"}));
    EXPECT_EQ(fake_.DispatchedFiles(), (Files{Installer("A"), PatchOf("A"), SettingsOf("A"), Installer("B")}));
    EXPECT_TRUE(fake_.messages.empty());
}

TEST_F(InstallTaskTest, StopDuringTheLastStepStillStopsTheItem) {
    // Installer only: the check before the skipped patch step sees the stop.
    fake_.whileDispatching = [this](const DispatchCall&) { fake_.stop = true; };
    EXPECT_EQ(Install(Add("A"), kInstallerStep), kOutcomeStop);
    EXPECT_EQ(fake_.DispatchedFiles(), (Files{Installer("A")}));
}

TEST_F(InstallTaskTest, StopBeforeTheItemDispatchesNothing) {
    fake_.stop = true;
    EXPECT_EQ(Install(Add("A")), kOutcomeStop);
    EXPECT_EQ(fake_.events, (Files{"read", "stop?"}));
}

// --- What each step is given ---

TEST_F(InstallTaskTest, EachStepGetsItsOwnResolvedCommandAndTheItemsFolder) {
    ItemFields fields;
    fields.Name = "\xD5\xC5\xC8\xFD";  // GBK
    fields.SrcPath = "\"Soft\\My Setup.exe\" /S -lang=en data\\cfg.ini";
    fields.DstDir = "  Apps\\My App";
    fields.Patch = "\\Patch\\crack.exe /silent \"/D=C:\\Program Files\"";
    fields.Settings = "E:\\Backup\\app.reg";
    Install(Add(fields));

    const std::string folder = "D:\\CD\\Apps\\My App";
    EXPECT_EQ(fake_.dispatches,
              (std::vector<DispatchCall>{
                  {fields.Name, "D:\\CD\\Soft\\My Setup.exe", "/S -lang=en \"D:\\CD\\data\\cfg.ini\"", folder, 1},
                  {fields.Name, "D:\\Patch\\crack.exe", "/silent /D=C:\\Program Files", folder, 2},
                  {fields.Name, "E:\\Backup\\app.reg", "", folder, 4},
              }));
}

TEST_F(InstallTaskTest, EmptyOrInvalidInstallFolderIsPassedEmpty) {
    for (const char* dstDir : {"", "C:App", "\\\\server\\share"}) {
        fake_.dispatches.clear();
        Install(Add({"A", "A\\setup.exe", dstDir, "A\\patch.exe", "", "", ""}));
        EXPECT_EQ(fake_.dispatches.size(), 2u);
        for (const DispatchCall& call : fake_.dispatches) EXPECT_EQ(call.folder, "") << dstDir;
    }
}

TEST_F(InstallTaskTest, EachFileIsLookedForWhenItsStepBegins) {
    // The installer unpacks the patch program that the item names.
    fake_.missing = {PatchOf("A")};
    fake_.whileDispatching = [this](const DispatchCall& call) {
        if (call.step == kInstallerStep) fake_.missing.clear();
    };
    EXPECT_EQ(Install(Add("A")), kOutcomeDone);
    EXPECT_EQ(fake_.DispatchedFiles(), (Files{Installer("A"), PatchOf("A"), SettingsOf("A")}));
}

// --- Registration text ---

TEST_F(InstallTaskTest, RegistrationTextIsSetOnlyWhenTheInstallerStepRuns) {
    ItemFields fields{"A", "A\\setup.exe", "", "A\\patch.exe", "user||12\r\n34", "A\\app.reg", ""};
    const CatalogueNode* item = Add(fields);

    Install(item, kPatchStep | kSettingsStep);
    EXPECT_TRUE(fake_.registrationTexts.empty());

    fake_.missing = {Installer("A")};
    Install(item);
    EXPECT_TRUE(fake_.registrationTexts.empty());

    fake_.missing.clear();
    Install(item);
    EXPECT_EQ(fake_.registrationTexts, (Files{"user||12\r\n34"}));

    // An empty Regcode still replaces the previous text.
    ItemFields empty{"B", "B\\setup.exe", "", "", "", "", ""};
    Install(Add(empty));
    EXPECT_EQ(fake_.registrationTexts, (Files{"user||12\r\n34", ""}));
}

}  // namespace
}  // namespace corvel
