// The line language of the update scripts: SQL statements ("E:"), statement templates
// ("B:") filled from parameter lines, programs to run and wait for ("S:"), and the request to
// restart the catalogue after the update ("R:").
//
// The reading of a line is kept apart from its execution so that it can be checked without
// a database.
#pragma once

#include "platform/dao/Dao.h"

#include <string>

enum class TipoLinhaScript {
    Nada,        // an empty line, a template line, or a parameter line that fills nothing
    Comando,     // Texto is the SQL statement to execute
    Programa,    // Texto is the command line to start and wait for
    Reinicio,    // the catalogue restarts after the update
};

struct AcaoLinhaScript {
    TipoLinhaScript Tipo = TipoLinhaScript::Nada;
    std::string Texto;
};

// Fills the numbered placeholders "?1", "?2", ... of the template with the values of a
// parameter line (split at "<<;>>"). The highest number goes first, so "?10" is filled
// before "?1" could take its first two characters; each placeholder is filled at its first
// occurrence only, and values without a placeholder are ignored.
std::string PreencheModelo(const std::string& modelo, const std::string& linha);

// What one line asks for. A "B:" line replaces the template, which stays in force for the
// following lines (also those of the next script files of the same run). The kind is read
// from the line's first two characters exactly as they stand: " E:" and "e:" are parameter
// lines. In a statement, "<<vbCrLf>>" stands for a line break.
AcaoLinhaScript InterpretaLinhaScript(const std::string& linha, std::string& modelo);

// Runs one statement of a script on the writable catalogue. Each statement runs in a
// transaction of its own in ws, so a statement that fails leaves nothing half done and no
// transaction open. True when it ran; a failure is only reported by the result.
bool ExecutaComandoScript(dao::Workspace& ws, dao::Database& db, const std::string& sql);

// Carries out one script line. A statement that fails is skipped (False); a program that
// cannot be started raises its error to the caller. "R:" sets
// EstadoPrograma.ReiniciarAposAtualizacao.
bool ExecutaLinhaScript(dao::Workspace& ws, dao::Database& db, const std::string& linha, std::string& modelo);
