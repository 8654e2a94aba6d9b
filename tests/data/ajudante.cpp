// A second program on the same data folder, for the tests that need two processes:
//   segura <pasta>        takes the update lock, prints 1 or 0, holds it until "solta" on stdin
//   tenta <pasta>         takes and releases the lock, prints 1 or 0
//   le <pasta> <sql>      prints the value of a query on the read-only catalogue
//   carrinho <pasta>      prints "pronto", waits for the file "vai", creates a cart table, prints its name
//   leitura <pasta>       holds a read transaction on the catalogue file (as a reader mid-query
//                         does), prints 1, ends it on "solta" on stdin and prints "solto"
#include "catalog/startup/Modulo.h"

#include "platform/vb/Err.h"

// The raw library, for a reader that holds the file as another computer would.
#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    const std::string modo = argv[1];
    EstadoPrograma.CaminhoDados = std::string(argv[2]) + "/";
    try {
        if (modo == "segura" || modo == "tenta") {
            const bool ok = BloqueiaAtualizacao(true);
            std::cout << (ok ? "1" : "0") << std::endl;
            if (!ok) return 0;
            if (modo == "segura") {
                std::string linha;
                if (!std::getline(std::cin, linha)) return 0;   // ends holding it
            }
            BloqueiaAtualizacao(false);
            std::cout << "solto" << std::endl;
            return 0;
        }
        if (modo == "le" && argc > 3) {
            AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
            const vb::Variant v = ObtemValorSQL(argv[3], std::string("(nenhum)"));
            std::cout << (v.IsNull() ? std::string("(Null)") : v.ToString()) << std::endl;
            FechaBanco(EstadoPrograma.WsCatalogo, EstadoPrograma.DbCatalogo);
            return 0;
        }
        if (modo == "leitura") {
            sqlite3* db = nullptr;
            if (sqlite3_open_v2((EstadoPrograma.CaminhoDados + "CatalogoZORNAK.c01").c_str(), &db,
                                SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
                return 1;
            const std::string senha = ObtemSenhaBancoDados();
            sqlite3_key(db, senha.data(), static_cast<int>(senha.size()));
            if (sqlite3_exec(db, "BEGIN; SELECT count(*) FROM CONTROLETRAN;", nullptr, nullptr, nullptr) != SQLITE_OK)
                return 1;
            std::cout << "1" << std::endl;
            std::string linha;
            std::getline(std::cin, linha);
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(db);
            std::cout << "solto" << std::endl;
            return 0;
        }
        if (modo == "carrinho") {
            AbreBancoAuxiliar(EstadoPrograma.WsAuxiliar, EstadoPrograma.DbAuxiliar);
            std::cout << "pronto" << std::endl;
            while (!std::filesystem::exists(EstadoPrograma.CaminhoDados + "vai"))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            std::cout << CriaTabelaCarrinho(EstadoPrograma.WsAuxiliar, EstadoPrograma.DbAuxiliar) << std::endl;
            FechaBanco(EstadoPrograma.WsAuxiliar, EstadoPrograma.DbAuxiliar);
            return 0;
        }
    } catch (const vb::Error& e) {
        std::cout << "erro " << e.Number() << " " << e.Description() << std::endl;
        return 1;
    }
    return 2;
}
