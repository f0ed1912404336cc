// SPDX-License-Identifier: MIT
// Test helpers that need a translation unit of their own go here.
