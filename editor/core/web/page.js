(function () {
  "use strict";
  // The table was compiled by the editor: every way out of a step is already a step number,
  // -1 for the end of the run, -2 for nothing to do, or the text of a fault. The page only
  // follows it.
  var Ends = -1;
  var Stays = -2;
  var BarTicks = 100;

  var table = JSON.parse(document.getElementById("table").textContent);
  var words = table.words;
  var desk = document.getElementById("desk");
  var shown = null; // the window on the desk: {step, element, buttons}
  var pending = 0;  // the pause's or the bar's timer
  var sound = null;

  function clearDesk() {
    clearTimeout(pending);
    clearInterval(pending);
    pending = 0;
    shown = null;
    desk.replaceChildren();
  }

  function go(way) {
    if (way === Stays) {
      return;
    }
    clearDesk();
    if (typeof way === "string") {
      end(words.stopped.split("%1").join(way));
    } else if (way === Ends) {
      end(words.ended);
    } else {
      show(way);
    }
    if (!performance.getEntriesByName("kq-ready").length) {
      performance.mark("kq-ready");
    }
  }

  function fromTemplate(id) {
    return document.getElementById(id).content.firstElementChild.cloneNode(true);
  }

  function end(said) {
    var panel = fromTemplate("ended");
    panel.querySelector(".said").textContent = said;
    var again = panel.querySelector(".again");
    again.textContent = words.playAgain;
    again.addEventListener("click", function () {
      go(table.start);
    });
    desk.append(panel);
    again.focus();
  }

  // A caption is shown as it reads, its access key underlined.
  function makeButton(button) {
    var element = document.createElement("button");
    element.type = "button";
    element.append(button.before);
    if (button.key) {
      var key = document.createElement("u");
      key.textContent = button.key;
      element.append(key, button.after);
      element.setAttribute("aria-keyshortcuts", "Alt+" + button.key.toUpperCase());
    }
    element.addEventListener("click", function () {
      go(button.way);
    });
    var made = {key: button.key.toUpperCase(), element: element};
    element.addEventListener("focus", function () {
      if (shown) {
        shown.focused = made;
      }
    });
    return made;
  }

  function show(number) {
    var step = table.steps[number];
    if (step.type === 2) {
      pending = setTimeout(function () {
        go(step.end);
      }, step.interval);
      return;
    }
    var element = fromTemplate("window");
    element.classList.add(step.type === 0 ? "message" : "progress");
    element.querySelector(".caption").textContent = step.caption;
    element.querySelector(".text").textContent = step.text;
    var icon = element.querySelector(".icon");
    if (step.icon < 0) {
      icon.remove();
    } else {
      element.classList.add("with-icon");
      icon.classList.add("i" + step.icon);
    }
    var closeBox = element.querySelector(".closebox");
    closeBox.setAttribute("aria-label", words.close);
    closeBox.addEventListener("click", function () {
      go(step.close);
    });
    var buttons = step.buttons.map(makeButton);
    var row = element.querySelector(".buttons");
    buttons.forEach(function (button) {
      row.append(button.element);
    });
    shown = {step: step, element: element, buttons: buttons, focused: buttons[0]};
    desk.append(element);
    if (buttons.length) {
      buttons[0].element.focus();
    } else {
      element.focus();
    }
    if (step.type === 1) {
      runBar(step, element.querySelector(".fill"));
    } else {
      beep();
    }
  }

  // The runner's bar: one per cent a tick, and the tick after the hundredth ends the step.
  function runBar(step, fill) {
    var value = 0;
    var skinned = table.style === 1;
    pending = setInterval(function () {
      if (value >= BarTicks) {
        go(step.end);
        return;
      }
      value += 1;
      fill.style.width = (skinned ? value + 1 : value) + "%";
    }, step.interval);
    if (skinned) {
      fill.style.width = "1%";
    }
  }

  // The system beep of a message window, once the page may make a sound: after the first press.
  function beep() {
    if (!sound || sound.state !== "running") {
      return;
    }
    var tone = sound.createOscillator();
    var volume = sound.createGain();
    volume.gain.value = 0.05;
    tone.frequency.value = 880;
    tone.connect(volume).connect(sound.destination);
    tone.start();
    tone.stop(sound.currentTime + 0.08);
  }

  function allowSound() {
    if (sound || !window.AudioContext) {
      return;
    }
    try {
      sound = new AudioContext();
    } catch (e) {
      sound = null;
    }
  }

  // Tab and Shift+Tab go round the window's buttons, as in a window of the runner: the focus
  // never leaves the window.
  function cycleFocus(backwards) {
    var count = shown.buttons.length;
    if (!count) {
      shown.element.focus();
      return;
    }
    var at = shown.buttons.indexOf(shown.focused);
    var inside = shown.focused && shown.focused.element === document.activeElement;
    var next = !inside ? at : (at + (backwards ? count - 1 : 1)) % count;
    shown.buttons[Math.max(next, 0)].element.focus();
  }

  // Enter presses the button with the focus; after a click elsewhere in the window (its text),
  // the button that had it last, as the runner's window keeps its focus on a button.
  function pressFocused(event) {
    if (!shown.focused || shown.focused.element === document.activeElement) {
      return;
    }
    event.preventDefault();
    shown.focused.element.click();
  }

  // Esc is the close box; Alt with a caption's underlined letter presses its button. Where two
  // buttons share the letter, it moves the focus between them instead. A held key presses once:
  // its repeats do nothing.
  function onKey(event) {
    if (event.repeat) {
      event.preventDefault();
      return;
    }
    if (!shown) {
      return;
    }
    if (event.key === "Escape") {
      event.preventDefault();
      go(shown.step.close);
      return;
    }
    if (event.key === "Tab" && !event.altKey && !event.ctrlKey && !event.metaKey) {
      event.preventDefault();
      cycleFocus(event.shiftKey);
      return;
    }
    if (event.key === "Enter") {
      pressFocused(event);
      return;
    }
    if (!event.altKey || event.ctrlKey || event.metaKey || event.key.length !== 1) {
      return;
    }
    var key = event.key.toUpperCase();
    var matching = shown.buttons.filter(function (button) {
      return button.key === key;
    });
    if (!matching.length) {
      return;
    }
    event.preventDefault();
    if (matching.length === 1) {
      matching[0].element.click();
      return;
    }
    var next = matching.findIndex(function (button) {
      return button.element === document.activeElement;
    });
    matching[(next + 1) % matching.length].element.focus();
  }

  document.addEventListener("keydown", onKey);
  document.addEventListener("pointerdown", allowSound, {once: true});
  document.addEventListener("keydown", allowSound, {once: true});
  go(table.start);
})();
