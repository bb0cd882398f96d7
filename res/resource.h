#pragma once

// Shared by the .rc script and the code; plain defines so windres can read it.
#define IDI_FERRULE 1
#define IDC_CMDCLOSE 101
#define IDC_LABEL2 102
#define IDC_LABEL1 103
#define IDT_TIMER1 201
