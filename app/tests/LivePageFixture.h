#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <functional>
#include <memory>
#include <vector>

#include "AppTestSupport.h"
#include "Prompts.h"
#include "SpectrumDisplayDlg.h"

namespace quenlix::testing {

// Answers in the user's place: every question with `answer`, file dialogs
// with the names set, modal dialogs through `modal` (rejected when unset);
// keeps the texts shown.
class RecordingPrompts : public Prompts {
public:
    Answer MessageBox(QWidget*, const QString& text, const QString&, Buttons) override {
        texts.push_back(text);
        return answer;
    }
    QString SaveFileName(QWidget*, const QString&, const QString& filter, const QString&) override {
        filters.push_back(filter);
        return saveName;
    }
    QString OpenFileName(QWidget*, const QString&, const QString& filter) override {
        filters.push_back(filter);
        return openName;
    }
    QString FolderName(QWidget*, const QString&) override { return folderName; }
    int RunModal(QDialog& dialog) override { return modal ? modal(dialog) : 0; }

    Answer answer = Answer::Ok;
    QString saveName, openName, folderName;
    std::function<int(QDialog&)> modal;
    std::vector<QString> texts;
    std::vector<QString> filters;
};

// The live page on simulated devices, with the prompts answered.
class LivePageTest : public SimulatedDevicesTest {
protected:
    void SetUp() override {
        SimulatedDevicesTest::SetUp();
        InstallPrompts(&prompts);
    }
    void TearDown() override {
        page.reset();
        InstallPrompts(nullptr);
        SimulatedDevicesTest::TearDown();
    }
    // Starts `units` simulated devices and opens the page on them, shown.
    void Open(int units) {
        for (int k = 0; k < units; ++k) AddUnit(k);
        DiscoverDevices();
        page = std::make_unique<CSpectrumDisplayDlg>();
        page->resize(1000, 700);
        page->show();
    }
    LRESULT Command(int command, int pressed = 0) {
        return SendMessage(page.get(), WM_TOOLBAR_COMMAND, command, pressed);
    }
    // Runs the page until every bound device has delivered `blocks` spectra.
    bool WaitForSpectra(int blocks, int timeoutMs = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            RunEventLoop(20);
            bool all = !page->DeviceRecords().empty();
            for (const auto& record : page->DeviceRecords())
                all = all && record->preprocessor->GetDataNo() >= blocks;
            if (all) return true;
        }
        return false;
    }

    RecordingPrompts prompts;
    std::unique_ptr<CSpectrumDisplayDlg> page;
};

}  // namespace quenlix::testing
