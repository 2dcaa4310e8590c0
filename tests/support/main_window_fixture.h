// A fresh main window, shown, for each test; destroyed afterwards with its quit message drained.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "layout.h"
#include "main_window.h"
#include "win_test.h"

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = MainWindow::Create(GetModuleHandleA(nullptr));
        ASSERT_NE(window_, nullptr);
        MainWindow::Show(window_);
        SetForegroundWindow(window_);
        wintest::PumpMessages();
    }
    void TearDown() override {
        if (IsWindow(window_)) DestroyWindow(window_);
        wintest::PumpMessages();
    }
    HWND Control(ControlIndex index) const { return GetDlgItem(window_, ControlId(index)); }
    std::string Text(ControlIndex index) const { return wintest::WindowText(Control(index)); }
    MainWindow& State() const { return *MainWindow::FromHandle(window_); }

    HWND window_ = nullptr;
};
