#pragma once

// Sizes fixed by the SMS-DELIVER user data layout.
enum
{
    TP_UD_NUM_OF_OCTETS = 140, // octets of TP-User-Data
    IE_TOTAL_LENGTH_MIN = 4    // smallest data length of a TDD element
};
