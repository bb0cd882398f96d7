// One CMOV and one FUCOMIP, instructions the Pentium Pro brought, among Pentium instructions
// whose bytes lie next to them or look like them: tests/release must refuse these two exactly.
#include <windows.h>

// Naked so that the compiler adds nothing around the planted bytes.
__attribute__((naked)) void Planted(void) {
  __asm__(
      "pushl %ebx\n\t"
      "movl 8(%esp), %eax\n\t"
      "movl 12(%esp), %ecx\n\t"
      "cmpl %ecx, %eax\n\t"
      // Behind an operand-size prefix, which the check must read past.
      "cmovl %cx, %ax\n\t"
      // Two-byte opcodes the Pentium has; REP BSF is TZCNT's encoding, run as BSF.
      "setg %dl\n\t"
      "movzbl %dl, %edx\n\t"
      "bswap %eax\n\t"
      "bsfl %ecx, %ebx\n\t"
      "rep bsfl %ecx, %ebx\n\t"
      "shldl $3, %ecx, %eax\n\t"
      "rdtsc\n\t"
      "cpuid\n\t"
      "lock cmpxchg8b (%esp)\n\t"
      "pause\n\t"
      "fildl 8(%esp)\n\t"
      "fildl 12(%esp)\n\t"
      "fucomip %st(1), %st\n\t"
      // x87 forms a byte or a ModR/M field away from FCMOVcc, FCOMI, FUCOMIP and FISTTP.
      "fucom %st(1)\n\t"
      "fucomp %st(1)\n\t"
      "fucompp\n\t"
      "fnstsw %ax\n\t"
      "sahf\n\t"
      "fninit\n\t"
      "fistpl 8(%esp)\n\t"
      "fldl 8(%esp)\n\t"
      "fistpll 8(%esp)\n\t"
      "fxch %st(1)\n\t"
      // The padding GCC aligns with: lea 0(%esi,%eiz,1), %esi, then a 66 90.
      ".byte 0x8d, 0xb4, 0x26, 0, 0, 0, 0\n\t"
      "xchg %ax, %ax\n\t"
      "popl %ebx\n\t"
      "ret\n\t");
}

// Referenced, never called.
void (*const volatile planted)(void) = Planted;

// check-exe wants this name in any executable; with it here, the two are all it refuses.
const char* const volatile looked_up = "SetDllDirectoryW";

void __stdcall PlantedMain(void) { ExitProcess(planted == NULL || looked_up == NULL); }
