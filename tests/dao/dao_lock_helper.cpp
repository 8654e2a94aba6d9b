// A second process for the lock test. Usage: dao_lock_helper <file> <password> try|hold
//   try:  takes the update lock (BEGIN + "UPDATE CONTROLETRAN SET a = a" with 640) and
//         prints "ok" or the error number, then ends (which abandons the transaction).
//   hold: takes the lock, prints "locked", waits for a line on stdin, commits, prints "released".
#include "platform/dao/Dao.h"
#include "platform/vb/Err.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: dao_lock_helper <file> <password> try|hold\n";
        return 2;
    }
    const std::string mode = argv[3];
    try {
        auto ws = dao::DBEngine().CreateWorkspace("mWsLockTrans", "admin", "");
        auto db = ws.OpenDatabase(argv[1], false, false, std::string(";pwd=") + argv[2]);
        ws.BeginTrans();
        db.Execute("UPDATE CONTROLETRAN SET a = a", dao::dbFailOnError | dao::dbSeeChanges);
        if (mode == "hold") {
            std::cout << "locked" << std::endl;
            std::string line;
            std::getline(std::cin, line);
            ws.CommitTrans();
            std::cout << "released" << std::endl;
        } else {
            std::cout << "ok" << std::endl;
        }
        db.Close();
        ws.Close();
    } catch (const vb::Error& e) {
        std::cout << e.Number() << std::endl;
        return 1;
    }
    return 0;
}
