// Runs dorvelix-report (DORVELIX_REPORT) as a process for the report's tests.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

struct ReportRun {
    int status = -1;
    QString out;
    QString err;
};

// environment: NAME=VALUE settings added to the test's own.
inline ReportRun report(const QStringList& args, const QString& workingFolder = {}, const QString& outputFile = {},
                        const QStringList& environment = {})
{
    QProcess p;
    p.setEnvironment(QProcess::systemEnvironment() + environment);
    if (!workingFolder.isEmpty())
        p.setWorkingDirectory(workingFolder);
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    p.start(QStringLiteral(DORVELIX_REPORT), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

inline QJsonObject json(const ReportRun& r)
{
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}
