// Thread-local storage reached through __tls_get_addr, as in any library loaded at run time.
__attribute__((tls_model("global-dynamic"))) thread_local void* guardado = nullptr;

extern "C" __attribute__((visibility("default"))) void** EnderecoGuardado() {
    return &guardado;
}
