#ifndef PNGTEXT_H
#define PNGTEXT_H

#include <QMap>
#include <QString>

// The text entries of a PNG file (tEXt, zTXt and iTXt chunks before the image data), read by walking
// the chunks: the picture is never decoded, nothing larger than a small bound is ever held, and a
// declared length is never trusted beyond what the file holds. Chunks with a wrong checksum are skipped.
class PngText
{
public:
    // Keyword to text; a keyword given twice keeps its last text. Empty for anything that is not a PNG.
    static QMap<QString, QString> read(const QString &path);

    // The file's texts as one text, as the picture loader shows them: "key: text" pairs in key order,
    // inner white space simplified, separated by empty lines.
    static QString combined(const QMap<QString, QString> &texts);

private:
    static void addChunk(const QByteArray &type, const QByteArray &data, QMap<QString, QString> &texts);
    static bool inflateBounded(const QByteArray &compressed, QByteArray &text);
};

#endif // PNGTEXT_H
