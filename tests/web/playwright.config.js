// Debian's chromium, a phone's viewport, Czech; one worker, since the tests share a database.
const path = require('node:path');
const {defineConfig} = require('@playwright/test');
const {browser} = require('./browser.js');

const settings = {
    testDir: '.',
    testMatch: ['*.test.js'],
    workers: 1,
    retries: 0,
    timeout: 30000,
    reporter: 'list',
    globalSetup: require.resolve('./globalSetup.js'),
    outputDir: path.join(process.env.VESTIBOR_WORK || '/tmp', 'playwright-results'),
    use: {
        baseURL: process.env.VESTIBOR_URL,
        viewport: {width: 390, height: 844},
        locale: 'cs-CZ',
        ignoreHTTPSErrors: true,
        launchOptions: browser,
    },
};

module.exports = defineConfig(settings);
