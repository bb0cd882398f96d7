/* Preloaded into the i386 programs that run under qemu-user, and only there.
 *
 * qemu-user delivers a SIGSEGV from a bad memory access with the trap number of the signal
 * context left at -1. Wine decides from that number what a fault is: with -1 every access
 * violation reaches Windows code as an illegal instruction without an address, and Wine's own
 * page-fault handling (stack guard pages, IsBadWritePtr) never runs. This wraps the SIGSEGV
 * handler a program installs and gives it the number the kernel would have: 14, page fault,
 * for a fault at an address; 13, general protection, for one the kernel raised itself.
 *
 * No libc headers and no start files: it builds with the host's "gcc -m32 -shared -nostdlib",
 * without 32-bit development packages. Layouts below are glibc's on i386. */

#define RTLD_NEXT ((void*)-1l)
#define SIGSEGV 11
#define SA_SIGINFO 4
#define SEGV_MAPERR 1
#define SEGV_ACCERR 2
#define TRAP_GENERAL_PROTECTION 13
#define TRAP_PAGE_FAULT 14

extern void* dlsym(void* handle, const char* name);

typedef void (*Handler)(int, void*, void*);

struct Sigaction {
  Handler handler;
  unsigned long mask[32];
  int flags;
  void (*restorer)(void);
};

/* siginfo_t: si_signo, si_errno, si_code. */
struct SiginfoHead {
  int signo;
  int errno_;
  int code;
};

/* ucontext_t up to mcontext_t's registers: uc_flags, uc_link, uc_stack (3 words), then
 * gregs[] in the order GS FS ES DS EDI ESI EBP ESP EBX EDX ECX EAX TRAPNO ERR EIP ... */
struct UcontextHead {
  unsigned long flags;
  void* link;
  void* stack[3];
  int gregs[14];
};
enum { kRegTrapno = 12 };

static Handler program_handler;

static void WithTrapNumber(int signal, void* info, void* context) {
  int* trapno = &((struct UcontextHead*)context)->gregs[kRegTrapno];
  if (*trapno == -1) {
    const int code = ((struct SiginfoHead*)info)->code;
    *trapno =
        code == SEGV_MAPERR || code == SEGV_ACCERR ? TRAP_PAGE_FAULT : TRAP_GENERAL_PROTECTION;
  }
  program_handler(signal, info, context);
}

int sigaction(int signal, const struct Sigaction* action, struct Sigaction* old) {
  static int (*next)(int, const struct Sigaction*, struct Sigaction*);
  if (!next) {
    next = (int (*)(int, const struct Sigaction*, struct Sigaction*))dlsym(RTLD_NEXT, "sigaction");
  }
  const Handler previous = program_handler;
  int result;
  /* Handler values 0 and 1 are SIG_DFL and SIG_IGN: nothing to call. */
  if (signal == SIGSEGV && action && (action->flags & SA_SIGINFO) &&
      (unsigned long)action->handler > 1) {
    struct Sigaction wrapped = *action;
    wrapped.handler = WithTrapNumber;
    /* Set first: a fault right after the install must find it. */
    program_handler = action->handler;
    result = next(signal, &wrapped, old);
    if (result != 0) program_handler = previous;
  } else {
    result = next(signal, action, old);
  }
  /* Whoever asks for the old handler gets the program's, not this wrapper. */
  if (signal == SIGSEGV && old && old->handler == WithTrapNumber) old->handler = previous;
  return result;
}
