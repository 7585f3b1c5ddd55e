#ifndef FAVORITEFILES_H
#define FAVORITEFILES_H

#include <QString>

// Favourite groups for the favourites benchmarks: `files` "stav" files of about a kilobyte, twenty
// to a group, under the favourites directory (which is emptied first).
class FavoriteFiles
{
public:
    static QString directory();
    static void write(int files);
    // The content of one favourite file, as the benchmarks write it.
    static QByteArray content(int index);
};

#endif // FAVORITEFILES_H
