/* The least a C program does: started and ended, the yardstick of
   startup_bench. */
int main(void) { return 0; }
