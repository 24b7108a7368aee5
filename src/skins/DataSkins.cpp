#include "DataSkins.h"

#include "SkinControl.h"
#include "SkinConvert.h"

#include "common/Dialogs.h"
#include "common/Files.h"
#include "common/ProcessExit.h"
#include "common/StringHelpers.h"
#include "common/VestrelError.h"

#include <QAbstractButton>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;
using namespace store;

TDataSkins::TDataSkins(QWidget* skinnedWindow, QObject* owner)
    : TPersistentComponent(owner)
    , m_window(skinnedWindow) {
    if (!skinnedWindow)
        return;
    QList<QWidget*> controls;
    for (QObject* child : skinnedWindow->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            controls.append(w);
    m_surface = new TSkinControl(skinnedWindow);
    m_surface->hide();
    for (QWidget* w : controls) {
        const bool shown = !w->isHidden();
        const QPoint at = w->pos();
        w->setParent(m_surface);
        w->move(at);
        if (shown)
            w->show();
    }
}

TDataSkins::~TDataSkins() {
    SaveOnDestroy();
}

const ClassInfo& TDataSkins::staticClassInfo() {
    using T = TDataSkins;
    static const ClassInfo info =
        ClassBuilder<T>("TDataSkins", &TPersistentComponent::staticClassInfo())
            .collection("Skins", [](T& s) -> TSkinItems& { return s.Skins(); })
            .collection("SkinsEx", [](T& s) -> TSkinItemsEx& { return s.SkinsEx(); })
            .event("OnSkinChange", [](T& s) { s.OnSkinChange = nullptr; })
            .event("OnHide", [](T& s) { s.OnHide = nullptr; })
            .event("OnEmptySkin", [](T& s) { s.OnEmptySkin = nullptr; })
            .build();
    return info;
}

TSkinItemEx* TDataSkins::FindSkin(const QString& name) const {
    for (int i = 0; i < m_skinsEx.Count(); ++i)
        if (SameSkinName(m_skinsEx[i]->Nome(), name))
            return m_skinsEx[i];
    return nullptr;
}

QString TDataSkins::UniqueSkinName(const QString& name) const {
    if (!FindSkin(name))
        return name;
    for (int n = 1;; ++n) {
        const QString candidate = name + QString::number(n);
        if (!FindSkin(candidate))
            return candidate;
    }
}

void TDataSkins::ForgetSkin(const TSkinItemEx* item) {
    if (m_current == item)
        m_current = nullptr;
}

QList<QWidget*> TDataSkins::SkinnedControls() const {
    QList<QWidget*> controls;
    const auto collect = [&controls](const QWidget* parent, const QWidget* skip) {
        for (QObject* child : parent->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w && w != skip && !w->isWindow() && !TrimBlanks(w->objectName()).isEmpty())
                controls.append(w);
        }
    };
    if (m_surface)
        collect(m_surface, nullptr);
    if (m_window)
        collect(m_window, m_surface);
    return controls;
}

TSkinItemEx* TDataSkins::AddSkin(const QString& name, const QString& description,
                                 const TPicture* picture) {
    const QString failure = u"Impossibile aggiungere la skin: "_s + name + u"\r\r"_s;
    if (FindSkin(name))
        throw VestrelError(failure + u"E' già presente una skin con questo nome!"_s);
    TSkinItemEx* item = m_skinsEx.Add();
    try {
        item->SetNome(name);
        item->SetDescrizione(description);
        TSkinFileEx& file = item->SkinFileEx();
        file.Unpack();
        if (picture && !picture->Empty()) {
            file.SetKind(skBitmap);
            file.SetTransparentColor(picture->TransparentColor());
            file.SetTransparent(picture->Transparent());
            file.Component()->Picture().Assign(*picture);
        } else {
            file.SetKind(skForm);
            file.SetHeightForm(200);
            file.SetWidthForm(450);
            file.SetColorForm(clNavy);
        }
        captureInto(*file.Component(), SkinnedControls());
        file.Pack();
        file.Release();
        SetModified(true);
        return item;
    } catch (const VestrelError& e) {
        m_skinsEx.Remove(item);
        throw VestrelError(failure + e.message());
    }
}

void TDataSkins::ModifySkin(TSkinItemEx* item, const QString& name, const TPicture* picture,
                            const QString& description) {
    for (int i = 0; i < m_skinsEx.Count(); ++i)
        if (m_skinsEx[i] != item && SameSkinName(m_skinsEx[i]->Nome(), name))
            throw VestrelError(u"Impossibile modificare la skin "_s + name + u" è già presente!"_s);
    try {
        TSkinFileEx& file = item->SkinFileEx();
        const bool withPicture = picture && !picture->Empty();
        // Checked before anything changes, so a refused change leaves the skin as it was.
        if (!withPicture && file.Kind() == skBitmap)
            throw VestrelError(u"Impossibile salvare la skin: non ha un'immagine associata!"_s);
        item->SetNome(name);
        item->SetDescrizione(description);
        if (withPicture) {
            file.SetKind(skBitmap);
            file.SetTransparentColor(picture->TransparentColor());
            file.SetTransparent(picture->Transparent());
            const bool wasUnpacked = file.Unpacked();
            file.Unpack();
            file.Component()->Picture().Assign(*picture);
            file.ForgetRegion();
            file.Pack();
            if (!wasUnpacked)
                file.Release();
        }
        SetModified(true);
    } catch (const VestrelError& e) {
        throw VestrelError(u"Impossibile modificare la skin: "_s + name + u"\r\r"_s + e.message());
    }
}

void TDataSkins::ApplySkin(const QString& name) {
    TSkinItemEx* item = FindSkin(name);
    if (!item)
        throw VestrelError(u"Impossibile trovare la skin: "_s + name);
    if (item == m_current)
        return;
    if (m_current)
        m_current->SkinFileEx().Release();
    // Not current until unpacked: a skin that fails to unpack is tried again next time.
    m_current = nullptr;
    TSkinFileEx& file = item->SkinFileEx();
    file.Unpack();
    m_current = item;
    if (m_window) {
        shapeWindow(file);
        placeControls(*file.Component());
        positionWindow(file);
    }
    if (OnSkinChange)
        OnSkinChange(this, item);
}

void TDataSkins::ReapplySkin(const QString& name) {
    if (m_current && SameSkinName(m_current->Nome(), name)) {
        m_current->SkinFileEx().Release();
        m_current = nullptr;
    }
    ApplySkin(name);
}

void TDataSkins::shapeWindow(TSkinFileEx& file) {
    QWidget& window = *m_window;
    if (!m_shaped) {
        m_originalFlags = window.windowFlags();
        m_originalSize = window.size();
        m_shaped = true;
    }
    if (!window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        const bool visible = window.isVisible();
        window.setWindowFlag(Qt::FramelessWindowHint, true);
        if (visible)
            window.show();
    }
    m_surface->show();
    m_surface->lower();
    const TSkinComponent& component = *file.Component();
    if (file.Kind() == skBitmap) {
        const QImage& picture = component.Picture().Image();
        if (!picture.isNull())
            window.resize(picture.size());
        if (file.Transparent() && !picture.isNull())
            window.setMask(file.OutlineRegion());
        else
            window.clearMask();
        m_surface->SetSkin(picture, file.Transparent(), file.TransparentColor(), file.Tolerance());
    } else {
        window.clearMask();
        window.resize(file.WidthForm(), file.HeightForm());
        m_surface->SetSkin(QImage(), false, clNone, clNone);
    }
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, file.Kind() == skForm
                                       ? ToQColor(file.ColorForm())
                                       : QGuiApplication::palette().color(QPalette::Window));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    m_surface->setGeometry(window.rect());
    window.update();
}

void TDataSkins::placeControls(const TSkinComponent& component) {
    for (QWidget* control : SkinnedControls()) {
        const TControlItem* item = component.Controls().Find(control->objectName());
        if (!item)
            continue;
        control->setFont(ToQFont(item->Font()));
        SetTextColor(*control, ToQColor(item->Font().Color()));
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            SetButtonGlyph(*button, item->Glyph().Image());
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->resize(label->width(), QFontMetrics(label->font()).height());
        }
        control->move(item->Left(), item->Top());
    }
}

void TDataSkins::positionWindow(TSkinFileEx& file) {
    QWidget& window = *m_window;
    QRegion desktop;
    for (const QScreen* screen : QGuiApplication::screens())
        desktop += screen->availableGeometry();
    const QRect placed(file.LeftForm(), file.TopForm(), window.width(), window.height());
    if (!desktop.isEmpty() && !desktop.intersects(placed)) {
        file.SetTopForm(0);
        file.SetLeftForm(0);
        SetModified(true);
    }
    window.move(file.LeftForm(), file.TopForm());
}

void TDataSkins::CaptureControls(TSkinItemEx* item) {
    CaptureControls(item, SkinnedControls());
}

void TDataSkins::CaptureControls(TSkinItemEx* item, const QList<QWidget*>& controls) {
    TSkinFileEx& file = item->SkinFileEx();
    const bool wasUnpacked = file.Unpacked();
    file.Unpack();
    captureInto(*file.Component(), controls);
    file.Pack();
    if (!wasUnpacked)
        file.Release();
}

void TDataSkins::captureInto(TSkinComponent& component, const QList<QWidget*>& controls) {
    for (const QWidget* control : controls) {
        const QString name = control->objectName();
        if (TrimBlanks(name).isEmpty())
            continue;
        TControlItem* item = component.Controls().FindOrAdd(name);
        item->SetTop(control->y());
        item->SetLeft(control->x());
        item->SetName(name);
        AssignFont(item->Font(), control->font(), TextColorOf(*control));
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            item->Glyph().SetImage(ButtonGlyph(*button));
    }
    SetModified(true);
}

void TDataSkins::RememberPosition() {
    if (!m_current || !m_window)
        return;
    TSkinFileEx& file = m_current->SkinFileEx();
    const QPoint at = m_window->pos();
    if (at.y() != file.TopForm() || at.x() != file.LeftForm()) {
        file.SetTopForm(at.y());
        file.SetLeftForm(at.x());
        SetModified(true);
    }
}

void TDataSkins::SetTransparent(TSkinItemEx* item, bool transparent) {
    item->SkinFileEx().SetTransparent(transparent);
}

void TDataSkins::DoLoaded() {
    TPersistentComponent::DoLoaded();
    if (!CheckVersion(1)) {
        ShowWarningBox(u"La versione del file "_s + FileName() + u" non coincide!"_s + u"\r"_s +
                       u"Riavviare l'applicazione e il file verrà ricreato correttamente."_s);
        const QString aside = FileName() + u"@error"_s;
        if (QFile::exists(aside))
            DeleteFileForced(aside);
        QFile::rename(FileName(), aside);
        TerminateProcess(0);
    }
    if (m_skins.Count() > 0) {
        for (int i = 0; i < m_skins.Count(); ++i)
            addConverted(*m_skins[i], UniqueSkinName(m_skins[i]->Nome()), true);
        m_skins.Clear();
    }
    if (m_skinsEx.Count() == 0 && OnEmptySkin)
        OnEmptySkin(this);
}

TSkinItemEx* TDataSkins::addConverted(const TSkinItem& old, const QString& name,
                                      bool keepPosition) {
    const TSkinFile& source = old.SkinFile();
    // An older bitmap skin that lost its picture becomes a classic one rather than a skin with
    // nothing to show.
    const bool bitmap = source.Kind() == skBitmap && !source.Picture().Empty();
    TSkinItemEx* item = AddSkin(name, old.Descrizione(), bitmap ? &source.Picture() : nullptr);
    TSkinFileEx& file = item->SkinFileEx();
    file.SetTopForm(keepPosition ? source.TopForm() : 0);
    file.SetLeftForm(keepPosition ? source.LeftForm() : 0);
    file.SetKind(bitmap ? skBitmap : skForm);
    file.SetTransparent(source.Transparent());
    file.SetWidthForm(source.WidthForm());
    file.SetHeightForm(source.HeightForm());
    file.SetColorForm(source.ColorForm());
    file.Unpack();
    for (int i = 0; i < source.Controls().Count(); ++i) {
        const TControlItem* control = source.Controls()[i];
        file.Component()->Controls().FindOrAdd(control->Name())->Assign(*control);
    }
    file.Pack();
    file.Release();
    return item;
}

void TDataSkins::addImported(const TSkinItemEx& source, const QString& name) {
    TSkinItemEx* item = m_skinsEx.Add();
    item->SetNome(name);
    item->SetDescrizione(source.Descrizione());
    const TSkinFileEx& from = source.SkinFileEx();
    TSkinFileEx& to = item->SkinFileEx();
    to.SetKind(from.Kind());
    to.SetTransparentColor(from.TransparentColor());
    to.SetTolerance(from.Tolerance());
    to.SetTransparent(from.Transparent());
    to.SetTopForm(0);
    to.SetLeftForm(0);
    to.SetColorForm(from.ColorForm());
    to.SetWidthForm(from.WidthForm());
    to.SetHeightForm(from.HeightForm());
    to.SetData(from.Data());
}

void TDataSkins::ImportSkins(const QString& fileName) {
    if (!QFile::exists(fileName)) {
        ShowWarningBox(u"Il file "_s + fileName + u" non esiste!"_s);
        return;
    }
    TDataSkins imported;
    try {
        imported.ImportFromFile(fileName);
    } catch (const VestrelError&) {
        ShowWarningBox(u"Il file "_s + fileName + u" non contiene skin valide!"_s);
    }
    for (int i = 0; i < imported.Skins().Count(); ++i)
        addConverted(*imported.Skins()[i], UniqueSkinName(imported.Skins()[i]->Nome()), false);
    for (int i = 0; i < imported.SkinsEx().Count(); ++i)
        addImported(*imported.SkinsEx()[i], UniqueSkinName(imported.SkinsEx()[i]->Nome()));
    SetModified(true);
}

} // namespace vestrel
