/* Does nothing: the process start of a C program, for bench/solver_whole_process.sh. */
int main(void) { return 0; }
