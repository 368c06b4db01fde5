#pragma once

class QWidget;

// The fill of the lists' search and button boxes: the image "searchBarBackground" repeated.
class SearchBarBackground
{
public:
    static void fill(QWidget *box);

    SearchBarBackground() = delete;
};
