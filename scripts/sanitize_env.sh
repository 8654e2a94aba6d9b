# Sourced by build.sh and test.sh when ZK_SANITIZE=1: the sanitizers' run-time options.
# Any finding ends the program with an error; leaks are checked at exit.
zk_sanitize_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/sanitize
# intercept_tls_get_addr=0: GCC 12's run-time guesses, for a thread's block of a library's
# thread-local storage that glibc allocates with malloc, a glibc 2.19 header in front of it
# whenever the block starts 16 bytes into a page, and takes the allocator's chunk header there
# for the block's bounds; the leak check at exit then scans that wild range and dies ("Tracer
# caught signal 11"). libjpeg, which Qt's JPEG plugin loads, has such a block, so a test that
# shows a JPEG crashed at exit whenever its heap put the block at that place. On glibc 2.36
# the run-time records every other block with no size, so the leak check loses nothing here;
# thread stacks and static thread-local storage are still scanned.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$zk_sanitize_dir/ubsan.supp
export LSAN_OPTIONS=suppressions=$zk_sanitize_dir/lsan.supp:print_suppressions=0
