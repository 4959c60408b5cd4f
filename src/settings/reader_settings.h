// ReaderSettings: the five one-character configuration codes of the Mini MSR
// reader (ASCII digits), as shown and edited on the General Settings page of
// the reader settings sheet.
#pragma once

struct ReaderSettings {
    char msrReading;      // '0' disabled, '1' enabled
    char terminalType;    // '0'..'5'
    char decodingMethod;  // '0'..'3'
    char beep;            // '0' off, '1' low, '2' high
    char interCharDelay;  // '0'..'5' (2, 5, 10, 20, 50, 100 ms)
};

// Stores the reader's factory defaults '1', '5', '1', '2', '1' in field order.
void SetDefaultReaderSettings(ReaderSettings& s);
