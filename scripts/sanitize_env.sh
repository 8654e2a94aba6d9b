# Sourced by build.sh and test.sh when ZK_SANITIZE=1: the sanitizers' run-time options.
# Any finding ends the program with an error; leaks are checked at exit.
zk_sanitize_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$zk_sanitize_dir/ubsan.supp
export LSAN_OPTIONS=suppressions=$zk_sanitize_dir/lsan.supp:print_suppressions=0
