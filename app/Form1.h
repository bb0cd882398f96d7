#pragma once

#include "platform/Form.h"

// The program's only window: the start-up sequence, the countdown and the Close button.
class Form1 {
 public:
  explicit Form1(platform::Form& form);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  void Form_Load();
  void Timer1_Timer();
  void cmdClose_Click();

 private:
  platform::Form& form_;
  platform::Label Label1;
  platform::Label Label2;
  platform::CommandButton cmdClose;
  platform::Timer Timer1;
};

// Runs Ferrule from start to end and returns the process exit code.
int RunFerrule();
