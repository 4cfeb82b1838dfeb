// The window program's command line: --help and --version answer without a
// display; anything but Qt's own options is a usage error.
#include "program_version.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct WindowRun {
    int status = -1;
    QString out;
    QString err;
};

WindowRun runWindow(const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(DORVELIX_WINDOW), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(WindowCommandLine, HelpVersionAndUsageErrors)
{
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"-h"}, QStringList{"-platform", "xcb", "--help"}}) {
        const WindowRun r = runWindow(args);
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.startsWith("Usage: dorvelix [options]\n")) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("--version"));
        EXPECT_TRUE(r.out.contains("LANGUAGE=ja dorvelix\n") && r.out.contains("LANGUAGE=en dorvelix\n"));
    }
    const WindowRun v = runWindow({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, QStringLiteral("dorvelix (Dorvelix) ") + QLatin1String(dorvelix::ProgramVersion) + u'\n');

    for (const QStringList& args : {QStringList{"/tmp"}, QStringList{"--bogus"}, QStringList{"-style", "fusion", "x"}}) {
        const WindowRun r = runWindow(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("dorvelix: unexpected argument '%1'").arg(args.last())))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
