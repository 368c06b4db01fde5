#include "ui/MyTodayNotesArrayController.h"

Qt::ItemFlags MyTodayNotesArrayController::flags(const QModelIndex &index) const
{
    return ArrayController::flags(index);
}
