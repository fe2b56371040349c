// Lint for the search page's modules (browser and worker code) and their Node tests.
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  {
    files: ['resources/page/**/*.js'],
    languageOptions: { sourceType: 'module', globals: { ...globals.browser, ...globals.worker } },
    rules: {
      // The scanner and the folding match control characters and NUL on purpose.
      'no-control-regex': 'off',
      'no-unused-vars': ['error', { caughtErrors: 'none' }],
      eqeqeq: 'error',
      'prefer-const': 'error',
      'no-var': 'error',
      'max-lines-per-function': ['error', { max: 60, skipBlankLines: true, skipComments: true }],
    },
  },
  {
    files: ['tests/page/unit/**/*.mjs'],
    languageOptions: { sourceType: 'module', globals: globals.node },
    rules: { 'no-control-regex': 'off', eqeqeq: 'error', 'prefer-const': 'error' },
  },
];
