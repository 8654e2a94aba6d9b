// Leaves one thread alive whose block of the module's thread-local storage starts 16 bytes into
// a page (the placement that the sanitizer run-time once took for an old glibc's block header),
// then ends through main's return, so the leak check runs over that thread.
//   limpo:     nothing leaked; the program must end with 0.
//   vazamento: one block of 40 bytes leaked; the leak check must report it.
// Prints "parado" once the thread is in place; ends with 3 if no thread got such a block.
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using FuncaoEndereco = void** (*)();

enum Estado { Trabalhando, Parado, Terminado };

std::atomic<int> estado{Trabalhando};

// Where each leaked block's address last was: a global the leak check scans, emptied again.
void* volatile ultimoVazado = nullptr;

void CorpoThread(FuncaoEndereco endereco) {
    // The first use in this thread is what makes glibc allocate its block.
    if (reinterpret_cast<std::uintptr_t>(endereco()) % 4096 == 16) {
        estado = Parado;
        for (;;) pause();
    }
    estado = Terminado;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: sanitize_saida_ajudante <module> limpo|vazamento\n";
        return 2;
    }
    void* modulo = dlopen(argv[1], RTLD_NOW);
    if (!modulo) {
        std::cerr << dlerror() << "\n";
        return 2;
    }
    auto endereco = reinterpret_cast<FuncaoEndereco>(dlsym(modulo, "EnderecoGuardado"));
    if (!endereco) return 2;

    // Each try moves the allocator on by one small block, so a later thread's block lands elsewhere.
    static std::vector<void*> passos;
    for (int tentativa = 0; tentativa < 20000; ++tentativa) {
        estado = Trabalhando;
        std::thread t(CorpoThread, endereco);
        while (estado == Trabalhando) usleep(100);
        if (estado == Parado) {
            t.detach();
            std::cout << "parado" << std::endl;
            if (std::string(argv[2]) == "vazamento") {
                ultimoVazado = std::malloc(40);
                ultimoVazado = nullptr;
            }
            return 0;
        }
        t.join();
        passos.push_back(std::malloc(8));
    }
    return 3;
}
