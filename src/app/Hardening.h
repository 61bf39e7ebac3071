#pragma once
// Restricts where DLLs are loaded from, before anything else loads one, and
// ends the process on heap corruption.
void HardenProcess();
