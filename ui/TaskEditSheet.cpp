#include "ui/TaskEditSheet.h"

#include "core/Clock.h"
#include "core/Localized.h"
#include "core/NotificationCenter.h"
#include "ui/AlertSheet.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "ui/ArrayController.h"
#include "ui/EnteredText.h"
#include "ui/NameOrder.h"
#include "ui_TaskEditSheet.h"

#include <QKeyEvent>
#include <QPushButton>

#include <utility>

TaskEditSheet::TaskEditSheet(ManagedObjectContext *context, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TaskEditSheet>())
    , m_context(context)
    , m_tagList(new ArrayController(this))
    , m_taskTags(new ArrayController(this))
{
    m_ui->setupUi(this);
    setWindowTitle(Localized::string(QStringLiteral("EDIT_TASK")));
    m_ui->titleLabel->setText(Localized::string(QStringLiteral("TASK_TITLE_LABEL")));
    m_ui->dueLabel->setText(Localized::string(QStringLiteral("TASK_DUE_LABEL")));
    m_ui->dueDateBox->setText(Localized::string(QStringLiteral("TASK_HAS_DUE_DATE")));
    m_ui->notebookTitleLabel->setText(Localized::string(QStringLiteral("TASK_NOTEBOOK_LABEL")));
    m_ui->tagsLabel->setText(Localized::string(QStringLiteral("TASK_TAGS_LABEL")));
    m_ui->notesLabel->setText(Localized::string(QStringLiteral("TASK_NOTES_LABEL")));
    m_ui->buttons->button(QDialogButtonBox::Save)->setText(Localized::string(QStringLiteral("SAVE")));
    m_ui->buttons->button(QDialogButtonBox::Cancel)->setText(Localized::string(QStringLiteral("CANCEL")));
    m_ui->addTagButton->setToolTip(Localized::string(QStringLiteral("ADD_TAG_TO_TASK")));
    m_ui->removeTagButton->setToolTip(Localized::string(QStringLiteral("REMOVE_TAG_FROM_TASK")));
    m_ui->datePicker->setEnabled(false);

    m_tagList->setManagedObjectContext(context);
    m_tagList->setEntityName(QLatin1String(MyTag::entityName));
    m_tagList->setFetchPredicate(Predicate::withFormat(QStringLiteral("deleted == 0")));
    m_tagList->setSortDescriptors({SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::LocalizedCaseInsensitive)});
    auto *tagsByName = new NameOrder(this);
    tagsByName->setSourceModel(m_tagList);
    m_ui->tagPopUp->setModel(tagsByName);
    m_taskTags->setManagedObjectContext(context);
    m_taskTags->setAvoidsEmptySelection(false);
    m_taskTags->setFilterPredicate(Predicate::withFormat(QStringLiteral("deleted == 0")));
    m_taskTags->setSortDescriptors({SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::LocalizedCaseInsensitive)});
    m_ui->taskTagTable->setModel(m_taskTags);
    m_ui->taskTagTable->setSelectionModel(m_taskTags->selectionModel());

    connect(m_ui->dueDateBox, &QCheckBox::toggled, m_ui->datePicker, &QWidget::setEnabled);
    connect(m_ui->addTagButton, &QToolButton::clicked, this, &TaskEditSheet::addTagToTask);
    connect(m_ui->removeTagButton, &QToolButton::clicked, this, &TaskEditSheet::removeTagFromTask);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &TaskEditSheet::endEditTask);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TaskEditSheet::~TaskEditSheet() = default;

QDateTime TaskEditSheet::dueDateFromPicker(const QDateTime &picked)
{
    // The start of the calendar day, even where that day starts with a daylight-saving jump.
    const QDateTime local = picked.toTimeZone(Clock::timeZone());
    return local.date().startOfDay(Clock::timeZone()).addSecs(local.time().second());
}

void TaskEditSheet::beginEditing(MyNote *task, QWidget *window, const void *sender, bool newTask)
{
    if (!task)
        return;
    m_task = task;
    m_newTask = newTask;
    m_sender = sender;
    m_ui->titleField->setText(task->title());
    const QDateTime due = task->dueDated();
    m_ui->dueDateBox->setChecked(due.isValid());
    m_ui->datePicker->setDateTime(due.isValid() ? due : Clock::now());
    m_ui->notebookLabel->setText(task->notebook() ? task->notebook()->name() : QString());
    m_ui->contentView->setPlainText(task->content());
    m_shownTitle = m_ui->titleField->text();
    m_shownContent = m_ui->contentView->toPlainText();
    m_shownHasDueDate = m_ui->dueDateBox->isChecked();
    m_shownPickedDate = m_ui->datePicker->dateTime();
    m_taskTags->setContentRelationship(task, QStringLiteral("tags"));
    fillTagPopUp();
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    setWindowModality(Qt::WindowModal);
    m_ui->titleField->setFocus();
    m_ui->titleField->selectAll();
    open();
}

bool TaskEditSheet::endEditTask()
{
    if (!m_task || m_task->isDeleted()) {
        reject();
        return false;
    }
    // A title of blanks would show as an empty card.
    const QString title = EnteredText::trimmed(m_ui->titleField->text());
    const bool titleEdited = title != EnteredText::trimmed(m_shownTitle);
    if (titleEdited) {
        if (const QString refusal = EnteredText::refusal(EnteredText::TaskTitle, title); !refusal.isEmpty()) {
            AlertSheet::beginSheet(this, QStringLiteral("Error"), refusal);
            return false;
        }
    }
    if (titleEdited && title != m_task->title())
        m_task->setTitle(title);

    const QString text = m_ui->contentView->toPlainText();
    if (text != m_shownContent) {
        const QString content = m_task->content();
        if (text.isEmpty()) {
            if (!content.isEmpty())
                m_task->setContent(QString());
        } else if (text != content) {
            m_task->setContent(text);
        }
    }

    const bool hasDueDate = m_ui->dueDateBox->isChecked();
    if (hasDueDate && (!m_shownHasDueDate || m_ui->datePicker->dateTime() != m_shownPickedDate))
        m_task->setDueDated(dueDateFromPicker(m_ui->datePicker->dateTime()));
    else if (!hasDueDate && m_shownHasDueDate)
        m_task->setDueDated(QDateTime());

    MyNote *edited = m_task;
    m_newTask = false;
    accept();
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), m_sender);
    emit editingEnded(edited);
    return true;
}

void TaskEditSheet::reject()
{
    QDialog::reject();
    // A task added only to be edited here is not wanted once its edit is cancelled: left in
    // the list, it would be saved as "New task".
    if (!std::exchange(m_newTask, false) || !m_task || m_task->isDeleted())
        return;
    m_context->deleteObject(m_task);
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), m_sender);
}

void TaskEditSheet::addTagToTask()
{
    auto *tag = dynamic_cast<MyTag *>(m_ui->tagPopUp->currentData(ArrayController::ObjectRole).value<ManagedObject *>());
    if (!m_task || !tag || m_task->tags().contains(tag))
        return;
    m_task->addTagsObject(tag);
    m_taskTags->processPendingChanges();
}

void TaskEditSheet::removeTagFromTask()
{
    if (!m_task)
        return;
    const QList<ManagedObject *> selected = m_taskTags->selectedObjects();
    for (ManagedObject *tag : selected)
        m_task->removeTagsObject(static_cast<MyTag *>(tag));
}

void TaskEditSheet::rearrangeTagList()
{
    m_tagList->rearrangeObjects();
}

void TaskEditSheet::fillTagPopUp()
{
    // Sorted afresh each time the sheet opens: tags added or renamed since would otherwise sit
    // at the end, in the order they were made. The current tag is kept by the rearrangement.
    const QString current = m_ui->tagPopUp->currentText();
    m_tagList->rearrangeObjects();
    if (!current.isEmpty())
        m_ui->tagPopUp->setCurrentIndex(m_ui->tagPopUp->findText(current));
    if (m_ui->tagPopUp->currentIndex() < 0 && m_tagList->count() > 0)
        m_ui->tagPopUp->setCurrentIndex(0);
}

void TaskEditSheet::keyPressEvent(QKeyEvent *event)
{
    // Return in the one-line title confirms; in the notes it starts a new line.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_ui->contentView->hasFocus())
        return;
    QDialog::keyPressEvent(event);
}
