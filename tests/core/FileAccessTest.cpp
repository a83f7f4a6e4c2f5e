// Reading and replacing files under faults and hostile names: pipes, devices, links, loops,
// private projects, saves killed half-way and saves running side by side.
#include "io/FileAccess.h"
#include "IoFixture.h"
#include "forms/HourlyImportCommand.h"
#include "io/Leftovers.h"

#include <gmock/gmock.h>

#include <array>
#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace halvern;
using namespace halvern::test;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const std::string& name) {
    struct stat st {};
    return ::lstat(name.c_str(), &st) == 0 ? st.st_mode : 0;
}

void MakeSocket(const std::string& name) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    name.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// The new files a save makes beside its target ('.zone.pru.123456.tmp').
std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name[0] == '.' && name.substr(name.size() - 4) == ".tmp")
            names.push_back(name);
    }
    return names;
}

// Runs the body in a child process and gives its exit status; a child that hangs is ended by
// its alarm, which the status shows as a signal.
int InChild(const std::function<int()>& body, unsigned alarmSeconds = 60) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(alarmSeconds);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string Content(char fill, std::size_t size) {
    std::string bytes(size, fill);
    bytes.back() = '\n';
    return bytes;
}

// The record of unfinished files that saves keep, for one test.
struct TLeftoverRecordInUse {
    explicit TLeftoverRecordInUse(const std::string& file) { UseLeftoverRecord(file); }
    ~TLeftoverRecordInUse() { UseLeftoverRecord(""); }
    TLeftoverRecordInUse(const TLeftoverRecordInUse&) = delete;
    TLeftoverRecordInUse& operator=(const TLeftoverRecordInUse&) = delete;
};

const TReplaceOptions kRoutes[] = {TReplaceOptions{true}, TReplaceOptions{false}};
const char* RouteName(const TReplaceOptions& route) {
    return route.UnnamedFirst ? "unnamed new file" : "named new file";
}

} // namespace

// ---- reading -------------------------------------------------------------------------------------

TEST(FileAccessRead, RefusesWhatIsNotARegularFileBeforeOpeningIt) {
    TScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    MakeSocket(dir.File("socket"));
    fs::create_symlink("pipe", dir.File("link-to-pipe"));
    fs::create_symlink("loop-b", dir.File("loop-a"));
    fs::create_symlink("loop-a", dir.File("loop-b"));
    struct TCase {
        std::string Name;
        TFileFailure Failure;
        std::string Reason;
    };
    const TCase cases[] = {
        {dir.File("pipe"), TFileFailure::NotRegular,
         dir.File("pipe") + " is not a regular file (a named pipe)."},
        {dir.File("link-to-pipe"), TFileFailure::NotRegular,
         dir.File("link-to-pipe") + " is not a regular file (a named pipe)."},
        {dir.File("socket"), TFileFailure::NotRegular,
         dir.File("socket") + " is not a regular file (a socket)."},
        {dir.Path().string(), TFileFailure::NotRegular,
         dir.Path().string() + " is not a regular file (a folder)."},
        {"/dev/zero", TFileFailure::NotRegular, "/dev/zero is not a regular file (a character device)."},
        {dir.File("loop-a"), TFileFailure::Open, "Too many levels of symbolic links"},
        {dir.File("absent"), TFileFailure::Open, "No such file or directory"},
        {dir.File("pipe/x"), TFileFailure::Open, "Not a directory"},
    };
    // A pipe that no program writes to would block a read for ever: the alarm ends a child
    // that hangs, so a regression fails here instead of stopping the tests.
    const int status = InChild(
        [&] {
            int wrong = 0;
            for (const auto& c : cases) {
                const TFileResult read = ReadFileBytes(c.Name);
                if (read.Ok || read.Failure != c.Failure || read.Reason != c.Reason) ++wrong;
            }
            return wrong;
        },
        20);
    EXPECT_EQ(status, 0) << (status == 128 + SIGALRM ? "a read hung" : "refused with the wrong reason");
    for (const auto& c : cases) {
        const TFileResult read = ReadFileBytes(c.Name);
        EXPECT_EQ(read.Reason, c.Reason);
    }
    EXPECT_TRUE(S_ISFIFO(ModeOf(dir.File("pipe"))));
}

TEST(FileAccessRead, FileLargerThanAnyProjectIsRefusedUnread) {
    TScratchDir dir;
    const std::string big = dir.File("big.txt");
    WriteBytes(big, "");
    fs::resize_file(big, MaxReadBytes + 1); // sparse: nothing is written
    const TFileResult read = ReadFileBytes(big);
    EXPECT_FALSE(read.Ok);
    EXPECT_EQ(read.Failure, TFileFailure::TooLarge);
    EXPECT_EQ(FileFailureMessage(big, read),
              "Cannot read file " + big +
                  "\nThe file is larger than 64 MB; no project or day of hourly data is that large.");
    fs::resize_file(big, MaxReadBytes);
    EXPECT_TRUE(ReadFileBytes(big).Ok);
}

namespace {

// The most memory this process has held since the last reset, in kB (Linux keeps the mark).
long PeakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

} // namespace

// Files of millions of empty lines are read within a small multiple of their size: lines are
// taken one at a time, never all kept.
TEST(FileAccessRead, FilesOfEmptyLinesAreReadInLittleMoreThanTheirSize) {
    TScratchDir dir;
    // An eighth of the largest file read is enough: kept line by line, it would take 32 times
    // its size, eight times the limit below.
    const std::size_t size = MaxReadBytes / 8;
    WriteBytes(dir.File("feeds.txt"), std::string(size, '\n'));
    WriteBytes(dir.File("feeds.pru"), "HALVERN 4.0\r\n" + std::string(size - 16, '\n'));
    TShownForm form;
    const auto growth = [](const std::function<void()>& read) {
        if (!ResetPeak()) return -1L;
        const long before = PeakKilobytes();
        read();
        return PeakKilobytes() - before;
    };
    const long import = growth([&] { ImportHourlyFile(*form, dir.File("feeds.txt")); });
    const long project = growth([&] { ReadProjectFile(*form, dir.File("feeds.pru")); });
    if (import < 0) GTEST_SKIP() << "the system keeps no resettable peak of memory";
    const long limit = static_cast<long>(4 * size / 1024);
    EXPECT_LT(import, limit);
    EXPECT_LT(project, limit);
    EXPECT_EQ(form.Dialogs.Texts().size(), 2u); // the import refused, the project read and named as cut short
    std::cout << "[          ] memory for " << size / 1024 / 1024 << " MB of line feeds: import "
              << import / 1024 << " MB, project " << project / 1024 << " MB\n";
}

TEST(FileAccessMessages, SayWhatFailedAndWhy) {
    const std::pair<TFileFailure, std::string> cases[] = {
        {TFileFailure::Open, "Cannot open file /z/a.pru\nwhy"},
        {TFileFailure::NotRegular, "Cannot open file /z/a.pru\nwhy"},
        {TFileFailure::Read, "Cannot read file /z/a.pru\nwhy"},
        {TFileFailure::TooLarge, "Cannot read file /z/a.pru\nwhy"},
        {TFileFailure::Write, "Cannot write file /z/a.pru\nwhy"},
    };
    for (const auto& [failure, message] : cases)
        EXPECT_EQ(FileFailureMessage("/z/a.pru", TFileResult{false, "", failure, "why"}), message);
}

// ---- what a save may replace -----------------------------------------------------------------------

TEST(FileAccessSave, RefusesTargetsThatAreNotRegularFiles) {
    TScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    MakeSocket(dir.File("socket"));
    fs::create_directory(dir.File("folder"));
    fs::create_symlink("pipe", dir.File("link-to-pipe"));
    fs::create_symlink("loop-b", dir.File("loop-a"));
    fs::create_symlink("loop-a", dir.File("loop-b"));
    // A device of our own, as "/dev/null" would be: only the superuser can make one.
    const bool device = ::mknod(dir.File("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    std::vector<std::pair<std::string, std::string>> cases = {
        {"pipe", "pipe is not a regular file (a named pipe)."},
        {"link-to-pipe", "link-to-pipe is not a regular file (a named pipe)."},
        {"socket", "socket is not a regular file (a socket)."},
        {"folder", "folder is not a regular file (a folder)."},
        {"folder/", "folder/ is not a regular file (a folder)."},
        {"loop-a", "Too many levels of symbolic links"},
    };
    if (device) cases.push_back({"null", "null is not a regular file (a character device)."});
    const auto before = dir.Names();
    for (const auto& [name, reason] : cases) {
        const TFileResult saved = ReplaceFileContent(dir.File(name), "project");
        EXPECT_FALSE(saved.Ok) << name;
        EXPECT_EQ(saved.Reason, name == "loop-a" ? reason : dir.Path().string() + "/" + reason);
        EXPECT_EQ(
            FileFailureMessage(dir.File(name), saved).rfind("Cannot open file " + dir.File(name) + "\n", 0),
            0u);
    }
    EXPECT_EQ(dir.Names().size(), before.size()); // nothing created, nothing replaced
    EXPECT_TRUE(S_ISFIFO(ModeOf(dir.File("pipe"))));
    EXPECT_TRUE(S_ISLNK(ModeOf(dir.File("link-to-pipe"))));
    EXPECT_TRUE(S_ISSOCK(ModeOf(dir.File("socket"))));
    if (device) {
        EXPECT_TRUE(S_ISCHR(ModeOf(dir.File("null"))));
    }
}

// A link is saved through, into the file it leads to, as editors do; the link stays a link.
TEST(FileAccessSave, SavesThroughSymbolicLinks) {
    for (const TReplaceOptions& route : kRoutes) {
        SCOPED_TRACE(RouteName(route));
        TScratchDir dir;
        fs::create_directories(dir.File("work"));
        fs::create_directories(dir.File("real/sub"));
        WriteBytes(dir.File("real/sub/zone.pru"), "old");
        fs::create_symlink("../real/sub/zone.pru", dir.File("work/zone.pru"));
        fs::create_symlink("zone.pru", dir.File("work/chain.pru"));
        fs::create_symlink("../real/sub/new.pru", dir.File("work/dangling.pru"));
        fs::create_symlink("../real/sub", dir.File("work/lnk"));

        ASSERT_TRUE(ReplaceFileContent(dir.File("work/zone.pru"), "one", route).Ok);
        EXPECT_EQ(ReadBytes(dir.File("real/sub/zone.pru")), "one");
        ASSERT_TRUE(ReplaceFileContent(dir.File("work/chain.pru"), "two", route).Ok);
        EXPECT_EQ(ReadBytes(dir.File("real/sub/zone.pru")), "two");
        // A link that leads nowhere yet: the file it names is created.
        ASSERT_TRUE(ReplaceFileContent(dir.File("work/dangling.pru"), "three", route).Ok);
        EXPECT_EQ(ReadBytes(dir.File("real/sub/new.pru")), "three");
        // ".." after a link is the link target's parent, as the system sees it.
        ASSERT_TRUE(ReplaceFileContent(dir.File("work/lnk/../beside.pru"), "four", route).Ok);
        EXPECT_EQ(ReadBytes(dir.File("real/beside.pru")), "four");
        EXPECT_FALSE(fs::exists(dir.File("work/beside.pru")));

        for (const char* link : {"work/zone.pru", "work/chain.pru", "work/dangling.pru", "work/lnk"})
            EXPECT_TRUE(S_ISLNK(ModeOf(dir.File(link)))) << link;
        EXPECT_THAT(Temporaries(dir.File("work")), ::testing::IsEmpty());
        EXPECT_THAT(Temporaries(dir.File("real/sub")), ::testing::IsEmpty());
        EXPECT_THAT(Temporaries(dir.File("real")), ::testing::IsEmpty());
    }
}

// ---- permissions and owner -------------------------------------------------------------------------

TEST(FileAccessSave, NewContentKeepsTheProjectsPermissionsAndOwner) {
    for (const TReplaceOptions& route : kRoutes) {
        SCOPED_TRACE(RouteName(route));
        TScratchDir dir;
        for (const mode_t mode : {0600, 0640, 0604, 0660}) {
            const std::string target = dir.File("zone.pru");
            WriteBytes(target, "old");
            ASSERT_EQ(::chmod(target.c_str(), mode), 0);
            ASSERT_TRUE(ReplaceFileContent(target, "new", route).Ok);
            EXPECT_EQ(ModeOf(target) & 07777, mode);
            fs::remove(target);
        }
        // A new project gets what any new file gets from the user's mask.
        for (const mode_t mask : {022, 077, 002}) {
            const mode_t saved = ::umask(mask);
            const std::string target = dir.File("new-" + std::to_string(mask) + ".pru");
            ASSERT_TRUE(ReplaceFileContent(target, "new", route).Ok);
            ::umask(saved);
            EXPECT_EQ(ModeOf(target) & 07777, 0666 & ~mask);
        }
        // The superuser saving a user's project leaves it the user's.
        if (::geteuid() == 0) {
            const std::string target = dir.File("users.pru");
            WriteBytes(target, "old");
            ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
            ASSERT_TRUE(ReplaceFileContent(target, "new", route).Ok);
            struct stat st {};
            ASSERT_EQ(::stat(target.c_str(), &st), 0);
            EXPECT_EQ(st.st_uid, 65534u);
            EXPECT_EQ(st.st_gid, 65534u);
        }
    }
}

// Nothing in the project's folder is ever readable by others while a private project is
// saved, and a killed save leaves no copy that is.
TEST(FileAccessSave, PrivateProjectIsNeverReadableByOthersDuringASave) {
    for (const TReplaceOptions& route : kRoutes) {
        SCOPED_TRACE(RouteName(route));
        TScratchDir dir;
        const std::string target = dir.File("private.pru");
        WriteBytes(target, "secret");
        ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(60);
            for (int i = 0; i < 12; ++i)
                if (!ReplaceFileContent(target, Content(static_cast<char>('a' + i), 4u << 20), route).Ok)
                    ::_exit(1);
            ::_exit(0);
        }
        int looks = 0;
        std::vector<std::string> exposed;
        int status = 0;
        while (::waitpid(child, &status, WNOHANG) == 0) {
            DIR* folder = ::opendir(dir.Path().c_str());
            ASSERT_NE(folder, nullptr);
            while (const dirent* entry = ::readdir(folder)) {
                const std::string name = entry->d_name;
                struct stat st {};
                if (name == "." || name == "..") continue;
                if (::fstatat(::dirfd(folder), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                    (st.st_mode & 077) != 0)
                    exposed.push_back(name);
            }
            ::closedir(folder);
            ++looks;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_GT(looks, 10);
        EXPECT_THAT(exposed, ::testing::IsEmpty());
        EXPECT_EQ(ModeOf(target) & 07777, 0600u);
    }
}

// ---- saves that are killed or run side by side ------------------------------------------------------

// A save killed at any moment leaves the project either as it was or as it was to become,
// never half-written; the next save removes anything it left beside it.
TEST(FileAccessSave, KilledSaveLeavesAWholeProjectAndNothingBesideIt) {
    constexpr int kKills = 30;
    const std::size_t size = 4u << 20;
    const std::array<std::string, 2> contents = {Content('A', size), Content('B', size)};
    for (const TReplaceOptions& route : kRoutes) {
        SCOPED_TRACE(RouteName(route));
        TScratchDir state;
        const TLeftoverRecordInUse record(state.File("halvern/unfinished"));
        TScratchDir dir;
        const std::string target = dir.File("zone.pru");
        ASSERT_TRUE(ReplaceFileContent(target, contents[0], route).Ok);
        // How long one save takes here, to spread the kills over all of it.
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(ReplaceFileContent(target, contents[1], route).Ok);
        const auto oneSave = std::chrono::steady_clock::now() - start;
        std::mt19937 random(12345);
        int leftBeside = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            const pid_t child = ::fork();
            if (child == 0) {
                for (int i = 0;; ++i)
                    ReplaceFileContent(target, contents[static_cast<std::size_t>(i % 2)], route);
            }
            const auto wait =
                std::chrono::microseconds(2000) +
                std::chrono::duration_cast<std::chrono::microseconds>(oneSave) * (random() % 200) / 100;
            std::this_thread::sleep_for(wait);
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const std::string now = ReadBytes(target);
            EXPECT_TRUE(now == contents[0] || now == contents[1])
                << "kill " << kill << ": " << now.size() << " bytes";
            const auto beside = Temporaries(dir.Path());
            leftBeside += beside.empty() ? 0 : 1;
            // The named route leaves its file when killed; the unnamed one only in the instant
            // between naming it and putting it in place.
            if (route.UnnamedFirst) {
                EXPECT_LE(beside.size(), 1u);
            }
        }
        if (route.UnnamedFirst) {
            EXPECT_LE(leftBeside, 2) << "kills that left a file beside the project";
        }
        ASSERT_TRUE(ReplaceFileContent(target, "after", route).Ok);
        EXPECT_THAT(dir.Names(), ElementsAre("zone.pru"));
        std::cout << "[          ] " << RouteName(route) << ": " << kKills << " kills, " << leftBeside
                  << " left a file beside the project, removed by the next save\n";
    }
}

// Only what a save of this program made and recorded is ever removed: a file of the user's
// that happens to be named like a save's new file stays, also beside a save that was killed.
TEST(FileAccessSave, AFileMerelyNamedLikeASavesNewFileSurvives) {
    for (const TReplaceOptions& route : kRoutes) {
        SCOPED_TRACE(RouteName(route));
        TScratchDir state;
        const TLeftoverRecordInUse record(state.File("halvern/unfinished"));
        TScratchDir dir;
        const std::string target = dir.File("x.pru");
        WriteBytes(target, "old");
        WriteBytes(dir.File(".x.pru.123456.tmp"), "the user's own");
        WriteBytes(dir.File(".x.pru.654321.tmp"), "");
        // A save killed with its new file beside the project, whichever route it took.
        const int killed = InChild(
            [&] {
                const std::string bytes = Content('K', 64u << 20);
                for (;;)
                    ReplaceFileContent(target, bytes, route);
                return 0;
            },
            1);
        EXPECT_EQ(killed, 128 + SIGALRM);
        ASSERT_TRUE(ReplaceFileContent(target, "new", route).Ok);
        EXPECT_EQ(ReadBytes(target), "new");
        EXPECT_THAT(dir.Names(), UnorderedElementsAre("x.pru", ".x.pru.123456.tmp", ".x.pru.654321.tmp"));
        EXPECT_EQ(ReadBytes(dir.File(".x.pru.123456.tmp")), "the user's own");
        EXPECT_EQ(ReadBytes(state.File("halvern/unfinished")), ""); // nothing left to remove
    }
}

// A link another user planted in a folder every user may write to (the system's temporary
// folder) is not followed by a save, as the system's protected-links rule has it: the save
// would replace whatever file of the user's the link leads to.
TEST(FileAccessSave, LinksOfOtherUsersInASharedFolderAreNotFollowed) {
    const struct {
        unsigned FolderMode, FolderOwner, LinkOwner, User;
        bool Followed;
    } rules[] = {
        {01777, 0, 1000, 0, false},      {01777, 0, 1000, 2000, false}, {01777, 0, 0, 1000, true},
        {01777, 1000, 1000, 2000, true}, {01777, 0, 1000, 1000, true},  {0777, 0, 1000, 2000, true},
        {01775, 0, 1000, 2000, true},    {01770, 0, 1000, 0, true},
    };
    for (const auto& r : rules)
        EXPECT_EQ(LinkMayBeFollowed(r.FolderMode | S_IFDIR, r.FolderOwner, r.LinkOwner, r.User), r.Followed)
            << std::oct << r.FolderMode << std::dec << " " << r.FolderOwner << " " << r.LinkOwner << " "
            << r.User;

    if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give a link to another user here";
    TScratchDir dir;
    fs::create_directories(dir.File("private"));
    ASSERT_EQ(::chmod(dir.File("private").c_str(), 0700), 0);
    WriteBytes(dir.File("private/only-root.pru"), "root's");
    fs::create_directories(dir.File("shared"));
    ASSERT_EQ(::chmod(dir.File("shared").c_str(), 01777), 0);
    fs::create_symlink(dir.File("private/only-root.pru"), dir.File("shared/report.xlsx"));
    ASSERT_EQ(::lchown(dir.File("shared/report.xlsx").c_str(), 4242, 4242), 0);
    fs::create_symlink(dir.File("private/only-root.pru"), dir.File("shared/mine.pru"));

    // The superuser: another user's link is refused, the user's own is followed.
    for (const TReplaceOptions& route : kRoutes) {
        const TFileResult refused = ReplaceFileContent(dir.File("shared/report.xlsx"), "replaced", route);
        EXPECT_FALSE(refused.Ok);
        EXPECT_EQ(FileFailureMessage(dir.File("shared/report.xlsx"), refused),
                  "Cannot open file " + dir.File("shared/report.xlsx") + "\nThe link " +
                      dir.File("shared/report.xlsx") +
                      " is in a folder that every user may write to and belongs to another user; it is not "
                      "followed.");
        EXPECT_EQ(ReadBytes(dir.File("private/only-root.pru")), "root's");
        EXPECT_TRUE(S_ISLNK(ModeOf(dir.File("shared/report.xlsx"))));
    }
    ASSERT_TRUE(ReplaceFileContent(dir.File("shared/mine.pru"), "through my own link").Ok);
    EXPECT_EQ(ReadBytes(dir.File("private/only-root.pru")), "through my own link");

    // Another user (4343) saving through the link of a third (4242): refused; through the link
    // of the folder's owner: followed.
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0); // the other user may reach the shared folder
    WriteBytes(dir.File("shared/theirs.pru"), "theirs");
    ASSERT_EQ(::chown(dir.File("shared/theirs.pru").c_str(), 4343, 4343), 0);
    fs::create_symlink("theirs.pru", dir.File("shared/planted.pru"));
    ASSERT_EQ(::lchown(dir.File("shared/planted.pru").c_str(), 4242, 4242), 0);
    fs::create_symlink("theirs.pru", dir.File("shared/by-owner.pru"));
    const int asAnotherUser = InChild([&] {
        if (::setgid(4343) != 0 || ::setuid(4343) != 0) return 3;
        if (ReplaceFileContent(dir.File("shared/planted.pru"), "planted").Ok) return 1;
        if (!ReplaceFileContent(dir.File("shared/by-owner.pru"), "by owner").Ok) return 2;
        return 0;
    });
    EXPECT_EQ(asAnotherUser, 0);
    EXPECT_EQ(ReadBytes(dir.File("shared/theirs.pru")), "by owner");
}

TEST(FileAccessSave, SavesSideBySideEachCompleteAndNeitherDisturbsTheOther) {
    const std::size_t size = 2u << 20;
    for (const TReplaceOptions& route : kRoutes) {
        SCOPED_TRACE(RouteName(route));
        TScratchDir dir;
        const std::string target = dir.File("zone.pru");
        const std::array<std::string, 2> contents = {Content('X', size), Content('Y', size)};
        std::array<pid_t, 2> children{};
        for (std::size_t c = 0; c < 2; ++c) {
            children[c] = ::fork();
            if (children[c] == 0) {
                ::alarm(120);
                int failed = 0;
                for (int i = 0; i < 25; ++i)
                    failed += ReplaceFileContent(target, contents[c], route).Ok ? 0 : 1;
                ::_exit(failed);
            }
        }
        for (const pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status));
            EXPECT_EQ(WEXITSTATUS(status), 0) << "saves that failed";
        }
        const std::string now = ReadBytes(target);
        EXPECT_TRUE(now == contents[0] || now == contents[1]);
        EXPECT_THAT(dir.Names(), ElementsAre("zone.pru"));
    }
}

TEST(FileAccessSave, SameExistingFile) {
    TScratchDir dir;
    WriteBytes(dir.File("data.txt"), "1,2,3,4,");
    fs::create_symlink("data.txt", dir.File("link.txt"));
    fs::create_hard_link(dir.File("data.txt"), dir.File("hard.txt"));
    WriteBytes(dir.File("other.txt"), "1,2,3,4,");
    EXPECT_TRUE(SameExistingFile(dir.File("data.txt"), dir.File("link.txt")));
    EXPECT_TRUE(SameExistingFile(dir.File("data.txt"), dir.File("hard.txt")));
    EXPECT_TRUE(SameExistingFile(dir.File("data.txt"), dir.File("./data.txt")));
    EXPECT_FALSE(SameExistingFile(dir.File("data.txt"), dir.File("other.txt")));
    EXPECT_FALSE(SameExistingFile(dir.File("data.txt"), dir.File("absent.txt")));
}
