// Wine turns a processor fault into a Windows exception from the trap number the kernel gives
// its signal handler. Under qemu-user's i386 emulation that number is missing unless the
// trap-number library (tools/qemu-trapno) supplies it, and every access violation would reach
// Windows code as an illegal instruction without an address, Wine's own page-fault handling
// included. These hold natively and must hold emulated too.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

struct Seen {
  void* page;
  DWORD code;
  ULONG_PTR parameters[2];
  DWORD count;
};
Seen seen;

// Records a fault on the page under test and lets the faulting write succeed on a retry.
LONG CALLBACK RecordAndAllow(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  if (!seen.page) return EXCEPTION_CONTINUE_SEARCH;
  seen.code = record.ExceptionCode;
  seen.count = record.NumberParameters;
  for (DWORD i = 0; i < 2 && i < record.NumberParameters; ++i) {
    seen.parameters[i] = record.ExceptionInformation[i];
  }
  DWORD old = 0;
  VirtualProtect(seen.page, 4096, PAGE_READWRITE, &old);
  return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(PageFaultTest, AWriteToAReadOnlyPageIsAnAccessViolationWithItsAddress) {
  char* page =
      static_cast<char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY));
  ASSERT_NE(page, nullptr);
  seen = {page, 0, {0xdead, 0xdead}, 0};
  void* handler = AddVectoredExceptionHandler(1, RecordAndAllow);
  ASSERT_NE(handler, nullptr);
  static_cast<volatile char*>(page)[100] = 7;
  RemoveVectoredExceptionHandler(handler);
  seen.page = nullptr;

  EXPECT_EQ(seen.code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION))
      << std::hex << "exception code " << seen.code;
  ASSERT_EQ(seen.count, 2u);
  EXPECT_EQ(seen.parameters[0], 1u) << "0 read, 1 write, 8 execute";
  EXPECT_EQ(seen.parameters[1], reinterpret_cast<ULONG_PTR>(page + 100));
  EXPECT_EQ(page[100], 7) << "the write did not happen on the retry";
  VirtualFree(page, 0, MEM_RELEASE);
}

TEST(PageFaultTest, IsBadPtrAnswersWithoutEndingTheProgram) {
  void* page = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(IsBadWritePtr(page, 1));
  EXPECT_FALSE(IsBadReadPtr(page, 1));
  EXPECT_TRUE(IsBadReadPtr(nullptr, 1));
  VirtualFree(page, 0, MEM_RELEASE);
}

// Touches about `pages` pages of stack, one frame a page, as a deep call chain does; returns
// how many frames it made.
DWORD Descend(int pages) {
  volatile char frame[4000];
  frame[sizeof frame - 1] = 1;
  return pages == 0 ? 0 : Descend(pages - 1) + frame[sizeof frame - 1];
}

DWORD WINAPI UseStack(void* pages) {
  return Descend(static_cast<int>(reinterpret_cast<INT_PTR>(pages)));
}

TEST(PageFaultTest, AThreadStackGrowsPageByPage) {
  // 1 MB reserved, committed as the guard page below it is touched.
  const int pages = 200;
  HANDLE thread = CreateThread(nullptr, 1 << 20, UseStack, reinterpret_cast<void*>(INT_PTR{pages}),
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, static_cast<DWORD>(pages)) << std::hex << "thread ended with " << code;
  CloseHandle(thread);
}

}  // namespace
