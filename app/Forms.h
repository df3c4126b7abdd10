// SPDX-License-Identifier: MIT
#pragma once

class TForm1;
class TForm2;
class TForm3;

// The launcher's three windows, each created once at start. main() sets them;
// a test that builds its own windows sets them too.
extern TForm1 *Form1;
extern TForm2 *Form2;
extern TForm3 *Form3;
