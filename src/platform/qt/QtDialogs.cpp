// The Qt forms of the Find, About, Deal Game Number and voice dialogs.
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtModal.h"
#include "platform/qt/QtUnits.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <utility>

#include "texts/Texts.h"

namespace quorrel {

namespace {
// Runs a dialog; the focus comes back as the program's modal windows promise.
void RunModal(QDialog* dialog) { ExecModal(*dialog); }
}  // namespace

void QtForm::Raise(const std::function<void()>& handler) {
    if (handler) handler();
}

void QtForm::Raises(QPushButton* button, const std::function<void()>& handler) {
    connect(button, &QPushButton::clicked, this, [&handler] { Raise(handler); });
}

void QtForm::UnloadForm() {
    unloading_ = true;
    done(QDialog::Accepted);
}

void QtForm::reject() {
    if (unloading_) return QDialog::reject();
    Escape();
    if (!unloading_) UnloadForm();
}

QtFindDialog::QtFindDialog(QWidget* owner) : QtForm(owner) {
    setWindowTitle(Q(texts::FindCaption));
    resize(Px(this, 4500), Px(this, 4005));
    cards_ = new QListWidget(this);
    auto* cardsLabel = new QLabel(Q(texts::FindCardsLabel), this);
    suites_ = new QListWidget(this);
    auto* suitesLabel = new QLabel(Q(texts::FindSuitesLabel), this);
    find_ = new QPushButton(Q(texts::FindButton), this);
    cancel_ = new QPushButton(Q(texts::CancelButton), this);
    Place(cards_, 1000, 500, 1000, 1815);
    Place(cardsLabel, 500, 500, 500, 195);
    Place(suites_, 3000, 500, 1000, 840);
    Place(suitesLabel, 2500, 500, 500, 195);
    Place(find_, 3000, 2500, 1000, 345);
    Place(cancel_, 3000, 3000, 1000, 345);
    cardsLabel->setBuddy(cards_);
    suitesLabel->setBuddy(suites_);
    cards_->setAccessibleName(Q(texts::FindCardsLabel));
    suites_->setAccessibleName(Q(texts::FindSuitesLabel));
    for (QListWidget* list : {cards_, suites_}) list->setSelectionMode(QAbstractItemView::SingleSelection);
    find_->setDefault(true);
    find_->setAutoDefault(true);
    QWidget::setTabOrder(cards_, suites_);
    QWidget::setTabOrder(suites_, find_);
    QWidget::setTabOrder(find_, cancel_);
    Raises(find_, FindClick);
    Raises(cancel_, CancelClick);
    // Enter in a list presses Find, as everywhere in the dialog.
    for (QListWidget* list : {cards_, suites_})
        connect(list, &QListWidget::itemActivated, this, [this] { Raise(FindClick); });
}

void QtFindDialog::AddCard(const std::string& entry) { cards_->addItem(QString::fromStdString(entry)); }
void QtFindDialog::AddSuite(const std::string& entry) { suites_->addItem(QString::fromStdString(entry)); }
void QtFindDialog::SetCardIndex(int index) { cards_->setCurrentRow(index); }
void QtFindDialog::SetSuiteIndex(int index) { suites_->setCurrentRow(index); }

int QtFindDialog::CardIndex() const {
    const auto selected = cards_->selectedItems();
    return selected.isEmpty() ? -1 : cards_->row(selected.front());
}

int QtFindDialog::SuiteIndex() const {
    const auto selected = suites_->selectedItems();
    return selected.isEmpty() ? -1 : suites_->row(selected.front());
}

void QtFindDialog::ShowModal() {
    if (Load) Load();
    cards_->setFocus();
    RunModal(this);
}

void QtFindDialog::Escape() {
    if (CancelClick) CancelClick();
}

void QtFindDialog::closeEvent(QCloseEvent* event) {
    if (!Unloading()) {
        if (FrameClose) FrameClose();
        Unload();
    }
    event->accept();
}

QtAboutDialog::QtAboutDialog(QWidget* owner) : QtForm(owner) {
    setWindowTitle(Q(texts::AboutCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Px(this, 5865), Px(this, 3600));
    title_ = new QLabel(this);
    version_ = new QLabel(this);
    description_ = new QLabel(this);
    disclaimer_ = new QLabel(this);
    ok_ = new QPushButton(Q(texts::OkButton), this);
    Place(title_, 1050, 240, 4092, 480);
    Place(version_, 1050, 780, 4092, 225);
    Place(description_, 1050, 1125, 4092, 1170);
    Place(disclaimer_, 255, 2625, 3870, 825);
    Place(ok_, 4245, 2625, 1467, 345);
    for (QLabel* label : {title_, description_, disclaimer_}) {
        label->setWordWrap(true);
        label->setStyleSheet("color: black");
    }
    ok_->setDefault(true);
    Raises(ok_, OkClick);
}

void QtAboutDialog::SetTitle(const std::string& text) { title_->setText(QString::fromStdString(text)); }
// A screen reader reads the labels of a dialog that opens only when they have three words or more; the
// version reaches it as the dialog's description.
void QtAboutDialog::SetVersion(const std::string& text) {
    version_->setText(QString::fromStdString(text));
    setAccessibleDescription(version_->text());
}
void QtAboutDialog::SetDescription(const std::string& text) { description_->setText(QString::fromStdString(text)); }
void QtAboutDialog::SetDisclaimer(const std::string& text) { disclaimer_->setText(QString::fromStdString(text)); }

void QtAboutDialog::ShowModal() {
    if (Load) Load();
    ok_->setFocus();
    RunModal(this);
}

void QtAboutDialog::Escape() {
    if (OkClick) OkClick();
}

QtDealNumberDialog::QtDealNumberDialog(QWidget* owner) : QtForm(owner) {
    setWindowTitle(Q(texts::DealNumberCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Px(this, 4800), Px(this, 1500));
    label_ = new QLabel(Q(texts::DealNumberLabel), this);
    number_ = new QLineEdit(this);
    ok_ = new QPushButton(Q(texts::OkButton), this);
    cancel_ = new QPushButton(Q(texts::CancelButton), this);
    Place(label_, 240, 240, 2700, 300);
    Place(number_, 3000, 200, 1560, 345);
    Place(ok_, 2000, 900, 1200, 345);
    Place(cancel_, 3360, 900, 1200, 345);
    // The label names the field for a screen reader, which reads it with the field's text.
    label_->setBuddy(number_);
    number_->setAccessibleName(label_->text());
    number_->setInputMethodHints(Qt::ImhDigitsOnly);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    QWidget::setTabOrder(number_, ok_);
    QWidget::setTabOrder(ok_, cancel_);
    Raises(ok_, OkClick);
    Raises(cancel_, CancelClick);
}

void QtDealNumberDialog::SetNumberText(const std::string& text) { number_->setText(QString::fromStdString(text)); }
std::string QtDealNumberDialog::NumberText() const { return number_->text().toStdString(); }

void QtDealNumberDialog::FocusNumber() {
    number_->selectAll();
    number_->setFocus(Qt::OtherFocusReason);
}

void QtDealNumberDialog::ShowModal() {
    if (Load) Load();
    FocusNumber();
    RunModal(this);
}

void QtDealNumberDialog::Escape() {
    if (CancelClick) CancelClick();
}

QtVoiceDialog::QtVoiceDialog(QWidget* owner) : QtForm(owner) {
    setWindowTitle(Q(texts::VoiceCaption));
    resize(Px(this, 7200), Px(this, 4005));
    auto* groupsLabel = new QLabel(Q(texts::VoiceListLabel), this);
    auto* voicesLabel = new QLabel(Q(texts::VoiceVariantsLabel), this);
    groups_ = new QListWidget(this);
    voices_ = new QListWidget(this);
    ok_ = new QPushButton(Q(texts::OkButton), this);
    cancel_ = new QPushButton(Q(texts::CancelButton), this);
    Place(groupsLabel, 240, 200, 3240, 300);
    Place(voicesLabel, 3720, 200, 3240, 300);
    Place(groups_, 240, 550, 3240, 2700);
    Place(voices_, 3720, 550, 3240, 2700);
    Place(ok_, 4200, 3400, 1200, 345);
    Place(cancel_, 5640, 3400, 1200, 345);
    for (auto [label, list] : {std::pair{groupsLabel, groups_}, std::pair{voicesLabel, voices_}}) {
        label->setBuddy(list);
        list->setAccessibleName(label->text());
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        connect(list, &QListWidget::itemActivated, this, [this] { Raise(OkClick); });
    }
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    QWidget::setTabOrder(groups_, voices_);
    QWidget::setTabOrder(voices_, ok_);
    QWidget::setTabOrder(ok_, cancel_);
    Raises(ok_, OkClick);
    Raises(cancel_, CancelClick);
    connect(groups_, &QListWidget::currentRowChanged, this, [this] { Raise(GroupChange); });
}

namespace {
void Fill(QListWidget* list, const std::vector<std::string>& texts) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const auto& text : texts) list->addItem(QString::fromStdString(text));
}

void Select(QListWidget* list, int index) {
    const QSignalBlocker quiet(list);
    list->setCurrentRow(index);
}

int Selected(const QListWidget* list) {
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}
}  // namespace

void QtVoiceDialog::SetGroups(const std::vector<std::string>& labels) { Fill(groups_, labels); }
void QtVoiceDialog::SetGroupIndex(int index) { Select(groups_, index); }
int QtVoiceDialog::GroupIndex() const { return Selected(groups_); }
void QtVoiceDialog::SetVoices(const std::vector<std::string>& names) { Fill(voices_, names); }
void QtVoiceDialog::SetVoiceIndex(int index) { Select(voices_, index); }
int QtVoiceDialog::VoiceIndex() const { return Selected(voices_); }

void QtVoiceDialog::ShowModal() {
    if (Load) Load();
    groups_->setFocus();
    RunModal(this);
}

void QtVoiceDialog::Escape() {
    if (CancelClick) CancelClick();
}

}  // namespace quorrel
