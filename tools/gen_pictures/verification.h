#pragma once
// Checks that stop the run before a wrong picture is written: the roots against the dictionary
// and the cut roots against specks; and the committed files against what the generator makes
// now.

#include "data.h"
#include "outputs.h"

#include <QString>

// Every root drawn from its own code point must be one the dictionary puts on its key: each of
// the character's codes starts with the key's letter. Characters the dictionary lacks (most
// radical forms) are left to the review sheet.
void checkDictionary(const Data& data, const QString& path);

// A cut that catches the edge of a neighbouring stroke leaves a speck beside the root. Every
// piece of ink a cut root is made of must be larger than a speck: the root is drawn at 100
// pixels, and each connected piece of ink counted.
void checkCutsLeaveNoSpecks(const Data& data);

// Compares the files under `committedDir` with those just written under `madeDir`: the same
// list in the manifest, and each file the same picture within the tolerance. Prints every file
// that differs with its largest difference, and returns whether all matched.
bool sameOutputs(const Outputs& outputs, const QString& committedDir, const QString& madeDir);
