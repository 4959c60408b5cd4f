// Default values of the reader configuration codes.
#include "settings/reader_settings.h"

void SetDefaultReaderSettings(ReaderSettings& s)
{
    s.msrReading = '1';
    s.terminalType = '5';
    s.decodingMethod = '1';
    s.beep = '2';
    s.interCharDelay = '1';
}
