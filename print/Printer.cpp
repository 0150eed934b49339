#include "print/Printer.h"

#include "print/PrinterModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>
#include <utility>

namespace sumvarl {

namespace {

// Beside an installed program the module is in its private folder under the library folder;
// a build tree keeps the same layout. SUMVARL_PRINTER_MODULE_DIR names another folder, for the
// tests, which run from folders of their own.
QString ModulePath()
{
    QString folder = qEnvironmentVariable("SUMVARL_PRINTER_MODULE_DIR");
    if (folder.isEmpty()) {
        folder = QDir(QCoreApplication::applicationDirPath())
                     .filePath(QStringLiteral(SUMVARL_PRINTER_MODULE_RELATIVE_DIR));
    }
    return QDir(folder).filePath(QStringLiteral(SUMVARL_PRINTER_MODULE_FILE));
}

struct LoadedModule
{
    bool tried = false;
    PrinterModule* module = nullptr;
    QString error;
};

LoadedModule& Loaded()
{
    static LoadedModule loaded;
    return loaded;
}

// Loaded on the first job and kept until the program ends: Qt's print support keeps state of
// its own.
PrinterModule* Module()
{
    LoadedModule& loaded = Loaded();
    if (!loaded.tried) {
        loaded.tried = true;
        const QString path = ModulePath();
        QPluginLoader loader(path);
        loaded.module = qobject_cast<PrinterModule*>(loader.instance());
        if (loaded.module == nullptr) {
            loaded.error =
                QStringLiteral("%1：%2").arg(QDir::toNativeSeparators(path), loader.errorString());
        }
    }
    return loaded.module;
}

PrintOutcome ModuleMissing()
{
    return {PrintResult::NoPrinterModule, Loaded().error};
}

} // namespace

std::chrono::milliseconds& PrintServiceWait()
{
    static std::chrono::milliseconds wait = DefaultServiceWait;
    return wait;
}

QFuture<PrintOutcome> DefaultPrinter::Print(DrawDocument draw)
{
    return Print(PaintingOf(std::move(draw)));
}

QFuture<PrintOutcome> DefaultPrinter::Print(PaintPages paint)
{
    PrinterModule* module = Module();
    if (module == nullptr) {
        return QtFuture::makeReadyFuture(ModuleMissing());
    }
    const std::chrono::milliseconds wait = PrintServiceWait();
    // The document is painted back on this thread: it reads the worksheet, which only this
    // thread changes, and Qt's fonts are shared with the windows.
    return QtFuture::makeReadyFuture()
        .then(QtFuture::Launch::Async, [module, wait] { return module->FindDefaultPrinter(wait); })
        .then(QCoreApplication::instance(),
              [module, paint = std::move(paint)](const FoundPrinter& printer) {
                  return module->Paint(printer, paint);
              })
        .then(QtFuture::Launch::Async,
              [module, wait](const PaintedJob& job) { return module->Submit(job, wait); });
}

std::optional<PrintOutcome> DefaultPrinter::Preview(QWidget& owner, const DrawDocument& draw)
{
    PrinterModule* module = Module();
    if (module == nullptr) {
        return ModuleMissing();
    }
    return module->ShowPreview(owner, PaintingOf(draw));
}

std::optional<PrintOutcome> DefaultPrinter::PrintWithDialog(QWidget& owner,
                                                            const DrawDocument& draw)
{
    PrinterModule* module = Module();
    if (module == nullptr) {
        return ModuleMissing();
    }
    return module->PrintWithDialog(owner, PaintingOf(draw));
}

} // namespace sumvarl
