// A helper program run under a system language, for the tests of what the toolkit's own
// windows say: its standard output, a line each.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace testsupport {

// What `programa` printed, run with LANG = `lang` and nothing that outranks it.
inline QStringList SaidaSobIdioma(const char* programa, const char* lang, const QStringList& argumentos) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) env.remove(v);
    env.insert("LANG", lang);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "the helper did not end";
        return {};
    }
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QStringList linhas = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    // Mnemonic marks are not what a user reads.
    for (QString& l : linhas) l.remove('&');
    return linhas;
}

}  // namespace testsupport
