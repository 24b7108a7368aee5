#pragma once

#include <QIODevice>
#include <QString>

namespace vestrel::store {

class StreamInput;

// Any component stream as readable text, without a schema:
//   object WaveSounds: TWaveSounds
//     AskOnLoadError = False
//     Waves = <>
//   end
// Raises the decoder's error on a damaged stream.
QString DumpStream(QIODevice& in);

// Reading past parts of a stream that no schema describes.
void SkipPrefix(StreamInput& in);
void SkipObject(StreamInput& in);

} // namespace vestrel::store
