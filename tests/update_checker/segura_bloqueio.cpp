// Holds the update lock of a catalogue from another process, as a second computer sharing
// the data folder would: it opens the catalogue, updates CONTROLETRAN in an open
// transaction, writes "ok" and keeps the lock until its standard input closes.
#include "common/Modulo.h"
#include "platform/dao/Dao.h"
#include "platform/vb/Err.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    try {
        dao::Workspace ws = dao::DBEngine().CreateWorkspace("mWsLockTrans", "admin", "");
        dao::Database db = ws.OpenDatabase(argv[1], false, false, ";pwd=" + ObtemSenhaBancoDados());
        ws.BeginTrans();
        db.Execute("UPDATE CONTROLETRAN SET a = a", dao::dbFailOnError);
        std::cout << "ok" << std::endl;
        std::string linha;
        while (std::getline(std::cin, linha)) {
        }
        ws.Rollback();
        ws.Close();
    } catch (const vb::Error& e) {
        std::cerr << e.Number() << " " << e.Description() << std::endl;
        return 1;
    }
    return 0;
}
