// Kills the tool with SIGKILL at random moments while it saves its settings
// again and again; the settings file must always be one whole record, the
// old one or the new one.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <random>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#ifndef SAVE_STRESS_BINARY
#error "SAVE_STRESS_BINARY must name the save_stress program"
#endif

namespace {

// A record as the tool writes it: both copies of the module number equal,
// "+49" and eight digits, length byte 11.
bool wholeRecord(const QByteArray &bytes) {
    if (bytes.size() != 4096)
        return false;
    const QByteArray first = bytes.mid(16, 12);
    const QByteArray second = bytes.mid(3986, 12);
    if (first != second || first[0] != 11 || !first.mid(1).startsWith("+49"))
        return false;
    for (char c : first.mid(4))
        if (c < '0' || c > '9')
            return false;
    return true;
}

pid_t startSaver(const QString &dir, int outFd) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (::chdir(QFile::encodeName(dir).constData()) != 0)
            _exit(126);
        ::dup2(outFd, STDOUT_FILENO);
        ::execl(SAVE_STRESS_BINARY, SAVE_STRESS_BINARY, static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

// Reads the saver's output until it has said `word`.
bool waitFor(int fd, const QByteArray &word) {
    QByteArray said;
    char buf[64];
    while (!said.contains(word)) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            return false;
        said.append(buf, n);
    }
    return true;
}

int hiddenLeftovers(const QString &dir) {
    return int(QDir(dir).entryList({QStringLiteral(".ZENTORIX.cfg.*")}, QDir::Files | QDir::Hidden).size());
}

} // namespace

TEST(KillDuringSave, SettingsFileIsAlwaysOneWholeRecord) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        // A first record, so that every start finds a file to read.
        QByteArray seed(4096, '\0');
        seed.replace(16, 12, QByteArray("\x0b+4900000000"));
        seed.replace(3986, 12, QByteArray("\x0b+4900000000"));
        QFile f(dir.filePath(QStringLiteral("ZENTORIX.cfg")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(seed);
    }
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(0, 40000);
    const int kills = 60;
    int intact = 0;
    for (int i = 0; i < kills; ++i) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t pid = startSaver(dir.path(), pipeFds[1]);
        ASSERT_GT(pid, 0);
        ::close(pipeFds[1]);
        ASSERT_TRUE(waitFor(pipeFds[0], "ready")) << "the saver did not start";
        // The last run saves at least once before it is killed.
        if (i == kills - 1)
            ASSERT_TRUE(waitFor(pipeFds[0], "saved"));
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(pipeFds[0]);
        QFile f(dir.filePath(QStringLiteral("ZENTORIX.cfg")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        if (wholeRecord(f.readAll()))
            ++intact;
    }
    std::printf("kills: %d, intact files: %d\n", kills, intact);
    EXPECT_EQ(intact, kills);
    // A good save clears what killed saves left; at most the last kill's remains.
    EXPECT_LE(hiddenLeftovers(dir.path()), 1);
}
