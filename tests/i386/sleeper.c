/* An i386 program that sleeps a while: whoever reads its /proc/PID/exe meanwhile sees whether the
 * kernel runs it (this file) or an emulator does. No libc: the host's gcc -m32 -nostdlib builds it. */
struct Timespec {
  long seconds;
  long nanoseconds;
};

void _start(void) {
  struct Timespec t = {2, 0};
  long result;
  __asm__ volatile("int $0x80" : "=a"(result) : "a"(162), "b"(&t), "c"(0) : "memory");
  __asm__ volatile("int $0x80" : : "a"(1), "b"(0));
  for (;;) {
  }
}
