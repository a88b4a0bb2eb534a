#pragma once
// The iMelody text as a phone without an ASCII parser takes it: one GSM 7-bit
// default-alphabet code per character, unpacked; characters of the extension
// table become the escape 0x1B and their code.
#include <QByteArray>

QByteArray TunraEncodeGsm7(const QByteArray& latin1Text);
