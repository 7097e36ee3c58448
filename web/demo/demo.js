// The demo page's date picker: the chosen date and time (the visitor's local time) become the
// birth chart's `at`; cleared, the chart follows the clock. A refused instant is reported at
// the picker with the element's reason.
const picker = document.getElementById('birth');
const chart = document.getElementById('chart-birth');

picker.addEventListener('change', () => {
  picker.setCustomValidity('');
  chart.at = picker.value || null;
});
chart.addEventListener('error', (e) => {
  picker.setCustomValidity(e.detail.reason);
  picker.reportValidity();
});
