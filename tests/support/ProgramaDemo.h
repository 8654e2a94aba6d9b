// The program as installed under a temporary root, for the tests that start its windows:
// "prog" is the program folder, whose Caminho.txt points at "dados", a copy of the demo
// catalogue's two files; "cfg" is the settings home. Call it inside ASSERT_NO_FATAL_FAILURE.
#pragma once

#include "platform/os/Folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdlib>

namespace testsupport {

inline void InstalaProgramaDemo(const QString& raiz, const QString& pastaDemo) {
    for (const char* pasta : {"prog", "cfg", "dados"}) QDir(raiz).mkpath(pasta);
    setenv("XDG_CONFIG_HOME", (raiz + "/cfg").toLocal8Bit().constData(), 1);
    os::SetProgramFolderForTesting((raiz + "/prog").toStdString());
    const QString dados = raiz + "/dados";
    for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02"})
        ASSERT_TRUE(QFile::copy(pastaDemo + "/" + arquivo, dados + "/" + arquivo));
    QFile caminho(raiz + "/prog/Caminho.txt");
    ASSERT_TRUE(caminho.open(QIODevice::WriteOnly | QIODevice::Truncate));
    caminho.write(dados.toUtf8());
}

}  // namespace testsupport
