#pragma once

#include <QString>

// The voice replacement list: the entries of the find window's list, loaded from the file
// that belongs to the selected voice and applied to every block before it is spoken.

// Whether the voice is a Katerina voice: its description names her, case ignored. Her list
// and her 22 kHz compressed blocks go by this.
bool isKaterinaVoice(const QString &voiceDescription);

// The list file of a voice, relative to the program folder ("DIC/Nicolai.dic"), or empty for
// a voice that has none. Matched on the voice's description, case ignored.
QString voiceListFile(const QString &voiceDescription);

// Fills the find window's list from the voice's list file. A file that cannot be read leaves
// the list as it is; a voice without a list file is told so and keeps the list as well.
void LoadVoiceDic(const QString &voiceDescription);

// Applies the list's entries to BlockText, in list order.
void ApplyDictionary();
